#include "model/slide_id.h"

namespace kiv {

namespace {
constexpr std::u16string_view kSeparators = u"\\/";
}

std::u16string PictureBaseName(std::u16string_view path) {
  if (!path.empty() && kSeparators.find(path.back()) != std::u16string_view::npos) path.remove_suffix(1);
  const size_t separator = path.find_last_of(kSeparators);
  if (separator != std::u16string_view::npos) path.remove_prefix(separator + 1);
  return std::u16string(path.substr(0, path.rfind(u'.')));
}

std::u16string SlideIdOf(const TIniIdentList& slide) {
  std::u16string id = slide.ReadString(u"slideid", u"");
  return id.empty() ? PictureBaseName(slide.ReadString(u"picture", u"")) : id;
}

}  // namespace kiv
