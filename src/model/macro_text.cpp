#include "model/macro_text.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/text.h"

namespace kiv {

namespace {

struct TDirectMacro {
  std::u16string_view Name;
  TMacro Value;
};

constexpr TDirectMacro kDirectMacros[] = {
    {u"<%SlideIndex%>", TMacro::SlideIndex},
    {u"<%SlidesCount%>", TMacro::SlidesCount},
    {u"<%MainImg.Width%>", TMacro::MainImgWidth},
    {u"<%MainImg.Height%>", TMacro::MainImgHeight},
    {u"<%MainImg.Exif.Comment%>", TMacro::ExifComment},
    {u"<%MainImg.Exif.Description%>", TMacro::ExifDescription},
    {u"<%MainImg.PathNameExt%>", TMacro::PathNameExt},
    {u"<%MainImg.IPTC.DocumentTitle%>", TMacro::IptcDocumentTitle},
    {u"<%MainImg.IPTC.SpecialInstructions%>", TMacro::IptcSpecialInstructions},
    {u"<%MainImg.IPTC.AuthorByline%>", TMacro::IptcAuthorByline},
    {u"<%MainImg.IPTC.AuthorTitle%>", TMacro::IptcAuthorTitle},
    {u"<%MainImg.IPTC.City%>", TMacro::IptcCity},
    {u"<%MainImg.IPTC.Sublocation%>", TMacro::IptcSublocation},
    {u"<%MainImg.IPTC.ProvinceState%>", TMacro::IptcProvinceState},
    {u"<%MainImg.IPTC.Country%>", TMacro::IptcCountry},
    {u"<%MainImg.IPTC.OTR%>", TMacro::IptcOTR},
    {u"<%MainImg.IPTC.Headline%>", TMacro::IptcHeadline},
    {u"<%MainImg.IPTC.Credits%>", TMacro::IptcCredits},
    {u"<%MainImg.IPTC.Source%>", TMacro::IptcSource},
    {u"<%MainImg.IPTC.Copyright%>", TMacro::IptcCopyright},
    {u"<%MainImg.IPTC.CaptionDescription%>", TMacro::IptcCaptionDescription},
    {u"<%MainImg.IPTC.CaptionWriter%>", TMacro::IptcCaptionWriter},
};

// File names are split at both separators: shows made on one system and moved to
// another hold either.
size_t NameStart(std::u16string_view path) {
  const size_t separator = path.find_last_of(u"\\/");
  return separator == std::u16string_view::npos ? 0 : separator + 1;
}

size_t ExtensionStart(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  return dot == std::u16string_view::npos || dot < NameStart(path) ? path.size() : dot;
}

std::u16string_view FileName(std::u16string_view path) {
  return path.substr(NameStart(path), ExtensionStart(path) - NameStart(path));
}
std::u16string_view PathName(std::u16string_view path) { return path.substr(0, ExtensionStart(path)); }
std::u16string_view FileNameExt(std::u16string_view path) { return path.substr(NameStart(path)); }
std::u16string_view FolderPath(std::u16string_view path) { return path.substr(0, NameStart(path)); }
std::u16string_view FolderName(std::u16string_view path) {
  std::u16string_view folder = FolderPath(path);
  if (!folder.empty()) folder.remove_suffix(1);
  return folder.substr(NameStart(folder));
}

std::u16string_view DatePart(std::u16string_view dateTime) { return dateTime.substr(0, dateTime.find(u' ')); }
std::u16string_view TimePart(std::u16string_view dateTime) {
  const size_t blank = dateTime.find(u' ');
  return blank == std::u16string_view::npos ? std::u16string_view() : dateTime.substr(blank + 1);
}

struct TDerivedMacro {
  std::u16string_view Name;
  TMacro Source;
  std::u16string_view (*Derive)(std::u16string_view source);
};

constexpr TDerivedMacro kDerivedMacros[] = {
    {u"<%MainImg.FileName%>", TMacro::PathNameExt, FileName},
    {u"<%MainImg.PathName%>", TMacro::PathNameExt, PathName},
    {u"<%MainImg.FileNameExt%>", TMacro::PathNameExt, FileNameExt},
    {u"<%MainImg.FolderPath%>", TMacro::PathNameExt, FolderPath},
    {u"<%MainImg.FolderName%>", TMacro::PathNameExt, FolderName},
    {u"<%MainImg.Exif.Date%>", TMacro::ExifDateTime, DatePart},
    {u"<%MainImg.Exif.Time%>", TMacro::ExifDateTime, TimePart},
};

// The text being expanded, beside its lower-cased copy in which macros are searched
// (lower-casing keeps every unit in place), and the values asked so far.
class TExpansion {
 public:
  TExpansion(std::u16string_view text, IMacroValues& values) : FText(text), FLower(LowerCase(text)), FValues(values) {}

  // Replaces each occurrence of name by the value value() gives, made at the first.
  template <class TValue>
  void Replace(std::u16string_view name, TValue value) {
    const std::u16string lowerName = LowerCase(name);
    std::optional<std::u16string> made;
    for (size_t at = FLower.find(lowerName); at != std::u16string::npos; at = FLower.find(lowerName, at)) {
      if (!made) made = std::u16string(value());
      const size_t rest = FText.size() - name.size();
      const size_t room = rest < kMaxExpandedText ? kMaxExpandedText - rest : 0;
      const std::u16string_view inserted = std::u16string_view(*made).substr(0, room);
      FText.replace(at, name.size(), inserted);
      FLower.replace(at, name.size(), LowerCase(inserted));
      at += inserted.size();
    }
  }

  const std::u16string& Value(TMacro which) {
    std::optional<std::u16string>& value = FAsked[size_t(which)];
    if (!value) value = FValues.MacroValue(which);
    return *value;
  }

  std::u16string Result() && { return FText.empty() ? std::u16string(u" ") : std::move(FText); }

 private:
  std::u16string FText;
  std::u16string FLower;
  IMacroValues& FValues;
  std::array<std::optional<std::u16string>, kMacroCount> FAsked;
};

}  // namespace

std::u16string TMTParser::Expand(std::u16string_view text, IMacroValues& values) {
  TExpansion expansion(text, values);
  for (const TDirectMacro& macro : kDirectMacros)
    expansion.Replace(macro.Name, [&] { return expansion.Value(macro.Value); });
  for (const TDerivedMacro& macro : kDerivedMacros)
    expansion.Replace(macro.Name, [&] { return macro.Derive(expansion.Value(macro.Source)); });
  return std::move(expansion).Result();
}

}  // namespace kiv
