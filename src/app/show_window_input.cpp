#include "app/show_window_input.h"

#include <mutex>
#include <string>
#include <utility>

#include "app/command_line.h"
#include "app/message_box.h"
#include "app/presentation_runner.h"
#include "app/slide_print_flow.h"
#include "base/log.h"
#include "base/text.h"
#include "engine/main_form.h"
#include "engine/run_commands.h"
#include "model/kiv_source.h"
#include "platform/termination.h"
#include "render/device/engine_gl.h"

namespace kiv {

namespace {

// While the show window is open, SIGINT, SIGTERM and SIGHUP close it as its close button
// does: the watcher thread queues a quit event, and the main thread runs the close
// sequence (engine and loader stopped, sound faded, temporary folders removed, the
// desktop's screen saver put back, the log's stop banner). A second signal ends the
// process at once.
class TSignalCloses {
 public:
  TSignalCloses() {
    SetStopHandler([this](const std::string& signalName) {
      {
        std::lock_guard lock(FLock);
        FSignal = signalName;
      }
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    });
  }
  ~TSignalCloses() { SetStopHandler(nullptr); }
  TSignalCloses(const TSignalCloses&) = delete;
  TSignalCloses& operator=(const TSignalCloses&) = delete;

  // The signal that asked for the close, once; empty for none.
  std::string Take() {
    std::lock_guard lock(FLock);
    return std::exchange(FSignal, {});
  }

 private:
  std::mutex FLock;
  std::string FSignal;
};

}  // namespace

TSdlPointer::TSdlPointer(SDL_Window* window)
    : FWindow(window),
      FArrow(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)),
      FHand(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND)) {}

TSdlPointer::~TSdlPointer() {
  SDL_ShowCursor(SDL_ENABLE);
  SDL_SetCursor(SDL_GetDefaultCursor());
  if (FArrow) SDL_FreeCursor(FArrow);
  if (FHand) SDL_FreeCursor(FHand);
}

TPointerState TSdlPointer::Read() const {
  TPointerState state;
  SDL_GetMouseState(&state.X, &state.Y);
  int width = 0, height = 0;
  SDL_GetWindowSize(FWindow, &width, &height);
  state.Inside = SDL_GetMouseFocus() == FWindow && state.X >= 0 && state.Y >= 0 && state.X < width && state.Y < height;
  return state;
}

void TSdlPointer::SetShape(TCursorShape shape) {
  if (shape == FShape) return;
  FShape = shape;
  if (shape == TCursorShape::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor* cursor = shape == TCursorShape::Hand ? FHand : FArrow;
  if (cursor) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

int RunShowWindow(TSdlMessageLoop& loop, TSdlShowWindow& window, TKivShowViewer& viewer, T3DEngineGL* gl,
                  TPresentationRunner& shows) {
  TSdlPointer pointer(window.SdlWindow());
  TMainFormParts parts;
  // The start-up window stays above every other window; Enter ends it with exit code 1.
  parts.StartupWindow = ProgramCommandLine().HasRawArgument(u"-startup");
  if (parts.StartupWindow) SDL_SetWindowAlwaysOnTop(window.SdlWindow(), SDL_TRUE);
  // A refused command is a notice without a title; a program that cannot start is a failure.
  parts.ShowMessage = [](std::u16string_view message) {
    if (message == kProhibitedCommandText)
      ShowNotice(message);
    else
      ShowError(message);
  };
  // Boxes belong to the show's window while it is open.
  struct TOwnerScope {
    explicit TOwnerScope(SDL_Window* owner) { SetMessageOwner(owner); }
    ~TOwnerScope() { SetMessageOwner(nullptr); }
  } owner(window.SdlWindow());
  parts.RunPresentation = [&shows](const TKivActionInfo& action) { return shows.Run(action); };
  parts.ReturnToPrevious = [&shows] { return shows.ReturnToPrevious(); };
  // While a print or save dialog is open the engine's device requests are still served.
  const TDialogOwner dialogOwner{window.SdlWindow(), [gl](const SDL_Event& event) {
                                   if (!gl || event.type != gl->DeviceRequestEvent()) return false;
                                   gl->ProcessDeviceRequests();
                                   return true;
                                 }};
  parts.PrintDialog = [&dialogOwner, &viewer](const TSlidePictures& pictures, TPrintDialogStart start) {
    if (viewer.Show()) PrintOrSaveSlide(dialogOwner, viewer.Show()->Document(), pictures, start);
  };
  TMainForm form(viewer, window, pointer, std::move(parts));
  form.ShowOpened(shows.ShowFolder());
  shows.OnShowOpened = [&form, &viewer, &window](std::u16string folder) {
    form.ShowOpened(std::move(folder));
    const std::u16string caption = viewer.Show()->Document().ReadString(u"main", u"opt_scr_caption", u"KivViewer v5.6");
    SDL_SetWindowTitle(window.SdlWindow(), Utf16ToUtf8(caption).c_str());
  };

  TSdlMessageLoop::THandlers handlers;
  handlers.Message = [&viewer](TKivEventData& message) { viewer.HandleMainMessage(message); };
  handlers.Key = [&form](uint32_t modifiers, int keyCode, uint8_t kind) { form.OnKey(modifiers, keyCode, kind); };
  handlers.Mouse = [&form](uint32_t state, int32_t x, TMouseEvent event, int32_t button, int32_t y) {
    form.OnMouseButton(state, x, event, button, y);
  };
  handlers.Wheel = [&form](uint32_t modifiers, int32_t x, int32_t steps, int32_t y) {
    form.OnMouseWheel(modifiers, x, steps, y);
  };
  TSignalCloses signals;
  handlers.CloseRequest = [&form, &signals] {
    if (const std::string signal = signals.Take(); !signal.empty()) Log().Write("Stop requested by " + signal);
    form.RequestClose();
  };
  handlers.Other = [&](const SDL_Event& event) {
    if (gl && event.type == gl->DeviceRequestEvent()) gl->ProcessDeviceRequests();
    window.TakeEvent(event);
    if (event.type == SDL_WINDOWEVENT) form.CheckPointer();  // activation, the pointer coming and going
  };
  handlers.TickWanted = [&form] { return form.PointerTimerRunning(); };
  handlers.Tick = [&form] { form.CheckPointer(); };
  loop.Run(handlers);
  shows.OnShowOpened = nullptr;
  return form.ExitCode();
}

}  // namespace kiv
