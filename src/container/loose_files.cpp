#include "container/loose_files.h"

#include <filesystem>
#include <system_error>

#include "base/text.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

// The entry of folder whose name equals part ignoring case; the exact name wins.
fs::path MatchInFolder(const fs::path& folder, std::u16string_view part) {
  std::error_code error;
  if (fs::exists(folder / Utf16ToUtf8(part), error)) return folder / Utf16ToUtf8(part);
  for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (SameTextIgnoringCase(Utf8ToUtf16(name), part)) return folder / name;
  }
  return {};
}

}  // namespace

std::string FindLooseFile(std::u16string_view name) {
  std::u16string slashed(name);
  for (char16_t& unit : slashed)
    if (unit == u'\\') unit = u'/';
  if (slashed.empty()) return {};
  const fs::path asWritten(Utf16ToUtf8(slashed));
  if (IsRegularFile(asWritten)) return asWritten.string();

  fs::path found = slashed[0] == u'/' ? fs::path("/") : fs::path();
  size_t start = 0;
  while (start <= slashed.size()) {
    size_t end = slashed.find(u'/', start);
    if (end == std::u16string::npos) end = slashed.size();
    std::u16string_view part = std::u16string_view(slashed).substr(start, end - start);
    if (part == u"..") {
      found /= "..";
    } else if (!part.empty() && part != u".") {
      found = MatchInFolder(found, part);
      if (found.empty()) return {};
    }
    start = end + 1;
  }
  return IsRegularFile(found) ? found.string() : std::string();
}

}  // namespace kiv
