#include "app/presentation_runner.h"

#include <exception>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/message_box.h"
#include "app/show_file_lookup.h"
#include "base/log.h"
#include "base/text.h"
#include "container/replace_pair.h"
#include "engine/slide_navigation.h"

namespace kiv {

namespace {

bool FileExists(std::u16string_view path) {
  std::error_code error;
  return std::filesystem::exists(Utf16ToUtf8(path), error);
}

}  // namespace

TPresentationRunner::TPresentationRunner(TKivShowLocator& first, const TShowRequest& request, TKivShowViewer& viewer,
                                         std::u16string programPath)
    : FViewer(viewer), FProgramPath(std::move(programPath)) {
  if (!request.IsExecutable) FProjectPath = request.Path;
  // Shows are compared by the version their containers carry, which for a project
  // without "KivVersion" is the packer's default rather than the project's empty text.
  std::optional<std::u16string> version;
  if (request.IsExecutable && ReplacementProjectFor(request.Path).empty()) {
    version = IsShowContainer(ResolveBundlePath(request.Path));
    if (!version) version = IsShowContainer(LooseShowPath(request.Path));
  }
  FStartShowVersion = version ? *version : first.Version();
  Opened(first, request);
}

void TPresentationRunner::Opened(TKivShowLocator& locator, const TShowRequest& request) {
  FExeName = locator.Project() ? locator.Project()->ReadString(u"main", u"opt_exefn", u"") : u"";
  FShowPath = !request.IsExecutable && !FExeName.empty() ? FExeName : request.Path;
  FShowFolder = locator.Accessor().BaseFolder();
  if (OnShowOpened) OnShowOpened(FShowFolder);
}

TPresentationResult TPresentationRunner::Run(const TKivActionInfo& action) {
  const TCommandLine line = TCommandLine::FromText(action.Text);
  const std::u16string written = line.GetOptionValue(u"").value_or(u"");
  TShowRequest request{written, true};
  if (!FProjectPath.empty() && (written == FProjectPath || ReplacementProjectFor(written) == FProjectPath)) {
    // The project played at start, named as itself or as the program it is built as.
    request = {FProjectPath, false};
  } else {
    const std::optional<std::u16string> found = FindShowFile(written, FExeName, FShowFolder);
    const std::u16string path = found ? ResolveBundlePath(*found) : written;
    const std::optional<std::u16string> version = found ? IsShowContainer(path) : std::nullopt;
    if (!version) {
      ShowError((found && FileExists(path) ? u"Not KivShow Executable File or File Corrupted:\n"
                                           : u"KivShow File not Found:\n") +
                path);
      return TPresentationResult::Stopped;
    }
    if (*version != FStartShowVersion) {
      ShowError(u"KivShow ExeFile Version Mismatch:\n" + path);
      return TPresentationResult::Stopped;
    }
    request.Path = path;
  }
  Log().Write("Open show: " + Utf16ToUtf8(request.Path));

  std::u16string entry;
  if (action.Type == kActionRunPresentationAndReturn && FViewer.Show())
    entry = u"\"" + FShowPath + u"\" -slide " +
            Utf8ToUtf16(std::to_string(CurrentSlideIndex(*FViewer.Show(), FViewer.Position()) + 1));
  const bool paused = FViewer.IsPaused();
  FViewer.SetPaused(true);
  std::unique_ptr<TKivShowLocator> locator;
  try {
    locator = OpenShow(request, FProgramPath);
  } catch (const std::exception& error) {
    ShowError(Utf8ToUtf16(error.what()));
  }
  if (!locator) {
    FViewer.SetPaused(paused);
    return TPresentationResult::Failed;
  }
  if (!entry.empty()) FReturnStack.push_back(std::move(entry));
  Install(std::move(locator), request, line.GetStartPosition());
  FViewer.SetPaused(false);
  return TPresentationResult::Opened;
}

void TPresentationRunner::Install(std::unique_ptr<TKivShowLocator> locator, const TShowRequest& request,
                                  const TStartPosition& start) {
  const TKivSource& source = locator->Source(FProgramPath);
  FViewer.OpenShowData(source, StartPositionTime(source, start.Value, start.IsTime));
  // The show that played is the viewer's no longer: it may go.
  FOwned = std::move(locator);
  Opened(*FOwned, request);
}

bool TPresentationRunner::ReturnToPrevious() {
  if (FReturnStack.empty()) return false;
  const std::u16string entry = std::move(FReturnStack.back());
  FReturnStack.pop_back();
  return Run({kActionRunPresentation, 0, entry}) == TPresentationResult::Opened;
}

}  // namespace kiv
