// Feeds arbitrary bytes to the metadata reader as the main picture of a slide, and
// expands a text naming every macro. Expansion must give text, no longer than its
// bound, and must agree with what the reader gave.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

#include "graphics/picture_metadata.h"
#include "model/macro_text.h"
#include "model/slide_macro_values.h"

namespace {

constexpr char16_t kEveryMacro[] =
    u"<%SlideIndex%> <%SlidesCount%> <%MainImg.Width%> <%MainImg.Height%> <%MainImg.Exif.Comment%>"
    u" <%MainImg.Exif.Description%> <%MainImg.PathNameExt%> <%MainImg.IPTC.DocumentTitle%>"
    u" <%MainImg.IPTC.SpecialInstructions%> <%MainImg.IPTC.AuthorByline%> <%MainImg.IPTC.AuthorTitle%>"
    u" <%MainImg.IPTC.City%> <%MainImg.IPTC.Sublocation%> <%MainImg.IPTC.ProvinceState%>"
    u" <%MainImg.IPTC.Country%> <%MainImg.IPTC.OTR%> <%MainImg.IPTC.Headline%> <%MainImg.IPTC.Credits%>"
    u" <%MainImg.IPTC.Source%> <%MainImg.IPTC.Copyright%> <%MainImg.IPTC.CaptionDescription%>"
    u" <%MainImg.IPTC.CaptionWriter%> <%MainImg.FileName%> <%MainImg.PathName%> <%MainImg.FileNameExt%>"
    u" <%MainImg.FolderPath%> <%MainImg.FolderName%> <%MainImg.Exif.Date%> <%MainImg.Exif.Time%>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const std::optional<kiv::TPictureMetadata> metadata = kiv::ReadPictureMetadata(bytes);

  kiv::TSlideMacroValues values(1, 1, kiv::TSlideMacroValues::TMainPicture{u"C:\\pics\\fuzz.jpg", [] { return std::pair{8, 8}; }, [&bytes] {
                                                                             return std::optional(bytes);
                                                                           }});
  const std::u16string expanded = kiv::TMTParser::Expand(kEveryMacro, values);
  if (expanded.empty() || expanded.size() > kiv::kMaxExpandedText) std::abort();
  const std::u16string city = kiv::TMTParser::Expand(u"<%MainImg.IPTC.City%>", values);
  const std::u16string read = metadata ? metadata->FirstIptc(90) : std::u16string();
  // A city holding macros may expand further, and a very long one is cut at the bound.
  const bool plain = read.find(u"<%") == std::u16string::npos && read.size() <= kiv::kMaxExpandedText;
  if (plain && city != (read.empty() ? u" " : read)) std::abort();
  return 0;
}
