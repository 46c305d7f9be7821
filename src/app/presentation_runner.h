#pragma once
// The shows one window plays: the show opened at start, the shows that
// run-presentation actions open in its place, and the stack of shows that were left
// with a return, each noted as the show's path and the slide it was left at.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/show_opening.h"
#include "engine/kiv_show_viewer.h"
#include "engine/main_form.h"
#include "model/show_locator.h"

namespace kiv {

class TPresentationRunner {
 public:
  // first plays in viewer, opened for request; it outlives the runner.
  TPresentationRunner(TKivShowLocator& first, const TShowRequest& request, TKivShowViewer& viewer,
                      std::u16string programPath);

  // Told the folder of each show that opened in the viewer.
  std::function<void(std::u16string folder)> OnShowOpened;

  // Where the current show's files lie: programs it runs start there, and the shows it
  // names are looked for there.
  const std::u16string& ShowFolder() const { return FShowFolder; }
  // The return entries, the latest last: the show's path in double quotes, " -slide "
  // and the 1-based slide it was left at.
  const std::vector<std::u16string>& ReturnStack() const { return FReturnStack; }

  // Opens the show a run-presentation action names (the text is a command line: the
  // show, then "-slide n" or "-time ms"); with return, the current show is stacked.
  // The current show plays on until the new one is open; what stops the action is told.
  TPresentationResult Run(const TKivActionInfo& action);
  // Opens the show last stacked at the slide it was left at; false when the stack is
  // empty or it did not open (its entry is gone either way).
  bool ReturnToPrevious();

 private:
  void Install(std::unique_ptr<TKivShowLocator> locator, const TShowRequest& request, const TStartPosition& start);
  void Opened(TKivShowLocator& locator, const TShowRequest& request);

  TKivShowViewer& FViewer;
  std::u16string FProgramPath;
  std::unique_ptr<TKivShowLocator> FOwned;  // the show playing, once it is not the first
  std::u16string FShowPath;     // as the user knows it: the program, or what a project is built as
  std::u16string FShowFolder;
  std::u16string FExeName;      // "opt_exefn" of the current show
  std::u16string FStartShowVersion;
  std::u16string FProjectPath;  // the project file played at start, if one was
  std::vector<std::u16string> FReturnStack;
};

}  // namespace kiv
