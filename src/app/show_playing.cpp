#include "app/show_playing.h"

#include <stdexcept>

#include "app/player_slide_loader.h"
#include "app/sdl_message_loop.h"
#include "app/sdl_show_window.h"
#include "engine/kiv_show_viewer.h"
#include "engine/slide_navigation.h"
#include "render/device/sdl_video.h"

namespace kiv {

namespace {

TShowViewerParts ViewerParts(const TCommandLine& commandLine, std::u16string_view programPath) {
  TShowViewerParts parts;
  parts.MakeLoader = PlayerSlideLoaders();
  parts.ProgramPath = std::u16string(programPath);
  parts.Cover = commandLine.HasOption(u"cover");
  parts.Placement = {commandLine.GetIntegerValue(u"display").value_or(0), commandLine.HasOption(u"desktopalign"),
                     commandLine.HasOption(u"resize")};
  return parts;
}

}  // namespace

int PlayShow(TKivShowLocator& show, const TCommandLine& commandLine, std::u16string_view programPath) {
  TSdlVideo video;
  if (!video.Started()) throw std::runtime_error("No display to show the slideshow on");
  TSdlMessageLoop loop;
  TSdlShowWindow window(show.Project()->ReadString(u"main", u"opt_scr_caption", u"KivViewer v5.6"),
                        [&loop] { loop.Quit(); });
  TKivShowViewer viewer(window, loop, ViewerParts(commandLine, programPath));
  viewer.SetStopsEnabled(true);

  const TKivSource& source = show.Source(programPath);
  const TStartPosition start = commandLine.GetStartPosition();
  viewer.OpenShowData(source, StartPositionTime(source, start.Value, start.IsTime));
  viewer.SetPaused(false);

  loop.Run({[&viewer](TKivEventData& message) { viewer.HandleMainMessage(message); },
            [&viewer](int keyCode) { viewer.OnKey(keyCode); }, [&window] { window.Close(); }});
  return 0;
}

}  // namespace kiv
