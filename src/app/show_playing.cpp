#include "app/show_playing.h"

#include <SDL2/SDL.h>

#include <stdexcept>

#include "app/player_slide_loader.h"
#include "app/presentation_runner.h"
#include "app/sdl_message_loop.h"
#include "app/sdl_show_window.h"
#include "app/show_opening.h"
#include "app/show_window_input.h"
#include "app/start_parameters.h"
#include "base/log.h"
#include "engine/drawing_controller.h"
#include "engine/kiv_show_viewer.h"
#include "engine/slide_navigation.h"
#include "music/music_player_factory.h"
#include "render/device/engine_gl.h"
#include "render/device/video_system.h"
#include "render/transitions/transition_factory.h"

namespace kiv {

namespace {

// Controllers drawing into window through gl; none without gl (the show then plays
// in a window that stays empty).
std::function<std::unique_ptr<IKivDrawController>(TPixelSize)> WindowControllers(T3DEngineGL* gl,
                                                                                TSdlShowWindow& window) {
  if (!gl) {
    Log().Write("PlayShow: no OpenGL ES, nothing is drawn");
    return nullptr;
  }
  return [gl, &window](TPixelSize) {
    auto controller = std::make_unique<TDrawingController>(*gl, window.Device());
    window.SetDrawing(controller.get());
    return controller;
  };
}

TShowViewerParts ViewerParts(const TCommandLine& commandLine, std::u16string_view programPath,
                             std::unique_ptr<IAudioOutput> output) {
  TShowViewerParts parts;
  parts.MakeLoader = PlayerSlideLoaders();
  // Every show opened in this window plays its music through the one output.
  parts.MakeMusicPlayer =
      KivMusicPlayers({output ? std::make_shared<TAudioOutputLender>(std::move(output)) : nullptr, {}, {}, {}});
  parts.ProgramPath = std::u16string(programPath);
  parts.Cover = commandLine.HasOption(u"cover");
  parts.Placement = {commandLine.GetIntegerValue(u"display").value_or(0), commandLine.HasOption(u"desktopalign"),
                     commandLine.HasOption(u"resize")};
  return parts;
}

}  // namespace

int PlayShow(TKivShowLocator& show, const TCommandLine& commandLine, std::u16string_view programPath,
             std::unique_ptr<IAudioOutput> output) {
  TVideoSystem video;
  if (!video.Started()) throw std::runtime_error("No display to show the slideshow on");
  SetTransitionFactory(StandardTransitions());
  // Made on this thread, which makes every renderer the drawing thread asks for.
  const std::unique_ptr<T3DEngineGL> gl = T3DEngineGL::Create();
  if (gl) gl->SetShowForbidsExclusive(show.Project()->ReadBool(u"main", u"opt_scr_noexclusive", false));
  TSdlMessageLoop loop;
  TSdlShowWindow window(show.Project()->ReadString(u"main", u"opt_scr_caption", u"KivViewer v5.6"),
                        [&loop] { loop.Quit(); });
  TShowViewerParts parts = ViewerParts(commandLine, programPath, std::move(output));
  parts.MakeController = WindowControllers(gl.get(), window);
  TKivShowViewer viewer(window, loop, std::move(parts));
  viewer.SetStopsEnabled(true);

  const TKivSource& source = show.Source(programPath);
  const TStartPosition start = commandLine.GetStartPosition();
  viewer.OpenShowData(source, StartPositionTime(source, start.Value, start.IsTime));
  viewer.SetPaused(false);

  TPresentationRunner shows(show, StartShowRequest(commandLine, StartParameters()), viewer, std::u16string(programPath));
  return RunShowWindow(loop, window, viewer, gl.get(), shows);
}

}  // namespace kiv
