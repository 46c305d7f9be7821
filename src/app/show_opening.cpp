#include "app/show_opening.h"

#include <filesystem>

#include "app/startup_project.h"
#include "base/file_names.h"
#include "base/text.h"
#include "container/replace_pair.h"

namespace kiv {

namespace {

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

}  // namespace

namespace {

// Whether the show the request names is on disk: the file, or for a program its loose show file.
bool RequestedShowExists(const TShowRequest& request) {
  std::error_code error;
  return std::filesystem::exists(Utf16ToUtf8(request.Path), error) ||
         (request.IsExecutable && std::filesystem::exists(Utf16ToUtf8(LooseShowPath(request.Path)), error));
}

}  // namespace

TShowRequest StartShowRequest(const TCommandLine& commandLine, const TStartParameters& start) {
  TShowRequest request;
  std::optional<std::u16string> path = commandLine.GetOptionValue(u"filename");
  request.IsExecutable = !path;
  if (!path) path = commandLine.GetOptionValue(u"exename");
  request.Path = AbsolutePath(path ? *path : start.ProgramPath, start.ProgramFolder);
  if (path && !RequestedShowExists(request)) {
    // Not beside the program: a name typed in a terminal means the current folder.
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    TShowRequest fromHere{AbsolutePath(*path, Utf8ToUtf16(here.string())), request.IsExecutable};
    if (!error && RequestedShowExists(fromHere)) request = std::move(fromHere);
  }
  return request;
}

std::u16string LooseShowPath(std::u16string_view executablePath) {
  return ChangeFileExtension(executablePath, u".KvShow");
}

std::u16string ShowLoadFailureText(const TShowRequest& request, std::u16string_view errorText) {
  if (!request.IsExecutable) return u"Can`t Load .kiv File\n" + Quoted(request.Path);
  const std::u16string reason = errorText.empty() ? u"Can`t Load Show" : std::u16string(errorText);
  return reason + u"\n" + Quoted(request.Path) + u" or " + Quoted(LooseShowPath(request.Path));
}

std::u16string ResolveBundlePath(std::u16string_view path) {
  if (!ReplacementProjectFor(path).empty() || path.size() < 4 || path.substr(path.size() - 4) != u".app")
    return std::u16string(path);
  const std::u16string inside = std::u16string(path) + u"/Contents/Resources/slideshow.dat";
  std::error_code error;
  return std::filesystem::is_regular_file(Utf16ToUtf8(inside), error) ? inside : std::u16string(path);
}

namespace {

// In start-up-window mode the project read is replaced by the start-up dialog's project.
TFileAccessor::TReadHook ReadHookFor(std::u16string projectName) {
  if (!ProgramCommandLine().HasRawArgument(u"-startup")) return {};
  return StartupProjectHook(std::move(projectName));
}

std::unique_ptr<TKivShowLocator> OpenLocator(const TShowRequest& request, std::u16string& error) {
  // A project is read from its folder by its file name.
  if (!request.IsExecutable) return OpenFromProject(request.Path, ReadHookFor(FileNameOf(request.Path)));
  TOpenedShow opened = OpenFromExecutable(ResolveBundlePath(request.Path), ReadHookFor(u"Project.kiv"));
  if (!opened.Locator) {
    // A loose show file that does not exist says nothing; the program's own reason stands.
    TOpenedShow loose = OpenFromExecutable(LooseShowPath(request.Path), ReadHookFor(u"Project.kiv"));
    if (loose.Locator || loose.Error != u"Slideshow File not Found") opened = std::move(loose);
  }
  error = opened.Error;
  return std::move(opened.Locator);
}

}  // namespace

std::unique_ptr<TKivShowLocator> OpenShow(const TShowRequest& request, std::u16string_view programPath) {
  std::u16string error;
  std::unique_ptr<TKivShowLocator> locator = OpenLocator(request, error);
  if (!locator) {
    ShowError(ShowLoadFailureText(request, error));
    return nullptr;
  }
  locator->Source(programPath);
  const std::u16string exeName = locator->Project()->ReadString(u"main", u"opt_exefn", u"");
  if (!request.IsExecutable && !exeName.empty()) ReplacePair() = {exeName, request.Path};
  if (request.IsExecutable && exeName.empty()) ShowError(u"opt_exefn - Empty");
  return locator;
}

}  // namespace kiv
