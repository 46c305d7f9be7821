#include "base/file_names.h"

#include <filesystem>

#include "base/text.h"

namespace kiv {

namespace {

size_t NameStart(std::u16string_view path) {
  const size_t slash = path.find_last_of(u"/\\");
  return slash == std::u16string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::u16string FileFolder(std::u16string_view path) { return std::u16string(path.substr(0, NameStart(path))); }

std::u16string FileNameOf(std::u16string_view path) { return std::u16string(path.substr(NameStart(path))); }

std::u16string ChangeFileExtension(std::u16string_view path, std::u16string_view extension) {
  const size_t dot = path.rfind(u'.');
  const size_t end = dot != std::u16string_view::npos && dot >= NameStart(path) ? dot : path.size();
  return std::u16string(path.substr(0, end)) + std::u16string(extension);
}

std::u16string AbsolutePath(std::u16string_view path, std::u16string_view folder) {
  namespace fs = std::filesystem;
  const fs::path given(Utf16ToUtf8(path));
  const fs::path absolute = given.is_absolute() ? given : fs::path(Utf16ToUtf8(folder)) / given;
  return Utf8ToUtf16(absolute.lexically_normal().string());
}

}  // namespace kiv
