#include "kivshow/entry_paths.h"

#include <algorithm>

#include "base/text.h"

namespace kiv {

namespace {

bool HasDrivePrefix(std::u16string_view name) {
  return name.size() >= 2 && name[1] == u':' && LowerCaseUnit(name[0]) >= u'a' && LowerCaseUnit(name[0]) <= u'z';
}

}  // namespace

std::optional<std::string> SafeEntryPath(std::u16string_view name) {
  if (name.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  if (HasDrivePrefix(name)) name.remove_prefix(2);
  std::u16string path;
  while (!name.empty()) {
    const size_t end = std::min(name.find_first_of(u"/\\"), name.size());
    const std::u16string_view part = name.substr(0, end);
    name.remove_prefix(std::min(end + 1, name.size()));
    if (part == u"..") return std::nullopt;
    if (part.empty() || part == u".") continue;
    if (!path.empty()) path += u'/';
    path += part;
  }
  if (path.empty()) return std::nullopt;
  return Utf16ToUtf8(path);
}

}  // namespace kiv
