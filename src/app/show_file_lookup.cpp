#include "app/show_file_lookup.h"

#include <filesystem>
#include <vector>

#include "base/file_names.h"
#include "base/text.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// A path as its root ("" relative, "/" or a lower-case drive such as "c:") and its
// parts, with "." and ".." resolved where they can be.
struct TPathParts {
  std::u16string Root;
  std::vector<std::u16string> Parts;
};

TPathParts SplitPath(std::u16string_view path) {
  TPathParts split;
  if (path.size() >= 2 && path[1] == u':' && LowerCaseUnit(path[0]) >= u'a' && LowerCaseUnit(path[0]) <= u'z') {
    split.Root = LowerCase(path.substr(0, 2));
    path.remove_prefix(2);
  } else if (!path.empty() && IsSeparator(path[0])) {
    split.Root = u"/";
  }
  std::u16string part;
  auto take = [&] {
    if (part == u"..") {
      if (!split.Parts.empty() && split.Parts.back() != u"..")
        split.Parts.pop_back();
      else if (split.Root.empty())
        split.Parts.push_back(part);  // above a root there is nothing to go to
    } else if (!part.empty() && part != u".") {
      split.Parts.push_back(part);
    }
    part.clear();
  };
  for (const char16_t c : path) {
    if (IsSeparator(c))
      take();
    else
      part += c;
  }
  take();
  return split;
}

std::u16string JoinParts(const std::vector<std::u16string>& parts, size_t from = 0) {
  std::u16string path;
  for (size_t i = from; i < parts.size(); ++i) path += (path.empty() ? u"" : u"/") + parts[i];
  return path;
}

std::u16string JoinRooted(const TPathParts& path) {
  return path.Root.empty() ? JoinParts(path.Parts) : path.Root + u"/" + JoinParts(path.Parts);
}

// The entry of folder called name, else the first (by name) called so ignoring case.
std::optional<fs::path> EntryIgnoringCase(const fs::path& folder, std::u16string_view name) {
  std::error_code error;
  const fs::path exact = folder / Utf16ToUtf8(name);
  if (fs::exists(exact, error)) return exact;
  std::optional<fs::path> found;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& entry = it->path();
    if (SameTextIgnoringCase(Utf8ToUtf16(entry.filename().string()), name) && (!found || entry < *found))
      found = entry;
  }
  return found;
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view end) {
  return text.size() > end.size() && SameTextIgnoringCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

std::optional<std::u16string> ExistingShowFile(std::u16string_view path, std::u16string_view folder) {
  TPathParts split = SplitPath(path);
  if (split.Root.size() == 2 || split.Parts.empty()) return std::nullopt;
  if (split.Root.empty() && !folder.empty()) split = SplitPath(std::u16string(folder) + u"/" + JoinParts(split.Parts));
  if (split.Root.size() == 2 || split.Parts.empty()) return std::nullopt;
  std::error_code error;
  fs::path at = split.Root.empty() ? fs::current_path(error) : fs::path("/");
  for (size_t i = 0; i + 1 < split.Parts.size(); ++i) {
    const std::optional<fs::path> next = EntryIgnoringCase(at, split.Parts[i]);
    if (!next) return std::nullopt;
    at = *next;
  }
  const std::u16string& name = split.Parts.back();
  std::vector<std::u16string> names{name};
  if (EndsWithIgnoringCase(name, u".exe")) names.push_back(name.substr(0, name.size() - 4));
  names.push_back(ChangeFileExtension(name, u".KvShow"));
  for (const std::u16string& candidate : names)
    if (const std::optional<fs::path> file = EntryIgnoringCase(at, candidate)) return Utf8ToUtf16(file->string());
  return std::nullopt;
}

std::optional<std::u16string> FindShowFile(std::u16string_view written, std::u16string_view exeName,
                                           std::u16string_view showFolder) {
  if (std::optional<std::u16string> found = ExistingShowFile(written, u"")) return found;
  const TPathParts target = SplitPath(written);
  if (target.Parts.empty()) return std::nullopt;
  if (!exeName.empty()) {
    const TPathParts exeFolder = SplitPath(FileFolder(exeName));
    // A relative name is taken from the built show's folder.
    TPathParts whole = target;
    if (target.Root.empty()) {
      whole = exeFolder;
      whole.Parts.insert(whole.Parts.end(), target.Parts.begin(), target.Parts.end());
      whole = SplitPath(JoinRooted(whole));
    }
    if (whole.Root == exeFolder.Root) {
      size_t common = 0;
      while (common < exeFolder.Parts.size() && common + 1 < whole.Parts.size() &&
             SameTextIgnoringCase(exeFolder.Parts[common], whole.Parts[common]))
        ++common;
      std::u16string relative;
      for (size_t i = common; i < exeFolder.Parts.size(); ++i) relative += u"../";
      relative += JoinParts(whole.Parts, common);
      if (std::optional<std::u16string> found = ExistingShowFile(relative, showFolder)) return found;
    }
  }
  return ExistingShowFile(target.Parts.back(), showFolder);
}

}  // namespace kiv
