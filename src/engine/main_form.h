#pragma once
// The show's window as the user meets it, apart from the window system: keys, mouse
// buttons and the wheel mapped to show actions by the show's options, the pointer's
// looks (hidden after a rest, a hand over what can be clicked), and the actions
// themselves, from the user and from the engine, carried out on the viewer: moving
// through the show, pausing, starting programs and opening links. Main thread only;
// times come from kiv::Clock().
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/input_mapping.h"
#include "engine/kiv_show_viewer.h"
#include "engine/mouse_monitor.h"
#include "engine/print_dialog_start.h"
#include "engine/run_commands.h"
#include "engine/show_pointer.h"
#include "engine/show_window.h"
#include "engine/slide_pictures.h"

namespace kiv {

// What became of an action that opens another show.
enum class TPresentationResult : uint8_t {
  Opened,   // the other show plays in the window
  Stopped,  // it was not looked at further (not found, no show, another version): told
  Failed,   // it could not be opened: told
};

struct TMainFormParts {
  IProgramLauncher* Launcher = nullptr;  // none: the desktop's
  // A message the user must see; none: it is only logged.
  std::function<void(std::u16string_view message)> ShowMessage;
  // Opens the show an action names (run presentation, with or without return); none:
  // such actions are logged and do nothing.
  std::function<TPresentationResult(const TKivActionInfo& action)> RunPresentation;
  // Opens again the show that a run presentation with return left; false when there is
  // none or it did not open.
  std::function<bool()> ReturnToPrevious;
  // The window is the start-up window's own: Enter ends it with exit code 1.
  bool StartupWindow = false;
  // Opens the print dialog over the window for the slide on screen, and returns when it
  // closed; the show stands still meanwhile. None: the slide's picture is dropped.
  std::function<void(const TSlidePictures& pictures, TPrintDialogStart start)> PrintDialog;
};

class TMainForm {
 public:
  static constexpr uint32_t kMouseQuietTime = 1000;  // ms after creation the buttons are ignored
  static constexpr int32_t kWheelStep = 700;         // ms of show time a wheel step moves
  static constexpr uint32_t kDefaultHideSeconds = 3;  // "opt_hc2_hideinterval" when absent

  // Takes the viewer's actions and snapshots until it goes.
  TMainForm(TKivShowViewer& viewer, IShowWindow& window, IShowPointer& pointer, TMainFormParts parts = {});
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // The viewer opened a show from folder: its key and mouse mapping, the wheel
  // ("opt_lockwheel") and the pointer hiding ("opt_hidecursor") take the show's options.
  void ShowOpened(std::u16string folder);

  // A key event (virtual key code, TKeyEventKind) with the modifier bits held.
  void OnKey(uint32_t modifiers, int keyCode, uint8_t kind);
  // A mouse event in client pixels, with the modifier and button bits held at it (a
  // left press holds the left button's bit, its release no longer does).
  void OnMouseButton(uint32_t keyState, int32_t x, TMouseEvent event, int32_t button, int32_t y);
  // steps > 0: away from the user.
  void OnMouseWheel(uint32_t modifiers, int32_t x, int32_t steps, int32_t y);
  // On activation, when the pointer may have left, and every TMouseMonitor::kCheckInterval
  // ms while PointerTimerRunning.
  void CheckPointer() { FMonitor.Check(); }
  bool PointerTimerRunning() const { return FMonitor.TimerRunning(); }

  // Carries out action; false when it was not (busy, no show, or another action is
  // being carried out, which drops it).
  bool CarryOutAction(const TKivActionInfo& action);

  // The window is asked to close by the window manager. Every close goes through the
  // close sequence: a close at the show's end or by an exit action may run the show's
  // "opt_runapponexitfn" or go back to the show this one was opened from, and the
  // window then stays; while busy the window stays too.
  void RequestClose() { CloseQuery(TCloseCause::Window); }

  // While busy (a child program owns the user), input, actions and closing are ignored.
  void SetBusy(bool busy) { FBusy += busy ? 1 : -1; }
  bool Busy() const { return FBusy > 0; }
  // 1 after a close-dialog action with no dialog open, else 0.
  int ExitCode() const { return FExitCode; }
  // The window closes because of an action (exit, close-dialog).
  bool ExitByAction() const { return FExitByAction; }
  const TMouseMonitor& MouseMonitor() const { return FMonitor; }
  const TInputMappingClass* InputMapping() const { return FMapping.get(); }

 private:
  enum class TCloseCause : uint8_t { Window, ShowEnd, ExitAction, Other };

  void CloseQuery(TCloseCause cause);
  TPresentationResult RunPresentation(const TKivActionInfo& action);
  void Carry(const TKivActionInfo& action);
  void GoToSlide(const TKivActionInfo& action);
  // Asks the engine for the picture of the slides, for the print dialog opening for start.
  void RequestSnapshot(TPrintDialogStart start);
  void OpenPrintDialog(std::unique_ptr<TBitmap> snapshot);
  void Tell(std::u16string_view message);
  TCommandRunner Runner();
  bool AtStop() const { return FViewer.Status().AtStop; }
  void UpdateCursor();
  void HiddenChanged();
  void PointerCameOrWent();

  TKivShowViewer& FViewer;
  IShowWindow& FWindow;
  IShowPointer& FPointer;
  TMainFormParts FParts;
  TMouseMonitor FMonitor;
  std::unique_ptr<TInputMappingClass> FMapping;
  std::u16string FShowFolder;
  bool FWheelEnabled = true;
  uint32_t FCreatedTick;
  int FBusy = 0;
  bool FInAction = false;
  bool FPressOnSlides = false;  // the slides took a press and wait for its release
  bool FExitByAction = false;
  bool FClosing = false;
  int FExitCode = 0;
  TPrintDialogStart FSnapshotFor = TPrintDialogStart::Print;
};

}  // namespace kiv
