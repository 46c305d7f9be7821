#pragma once
// The navigation panel of a show: a navigation bar read from a file of the show, placed
// and scaled on the layer above the slides, fed with the pointer, and turning the button
// clicked into an action of the player.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/rect.h"
#include "container/file_accessor.h"
#include "ini/ini_file.h"
#include "ini/ini_views.h"
#include "model/action_info.h"
#include "model/nav_bar.h"
#include "model/overlay_placement.h"
#include "model/video_nav_bar.h"

namespace kiv {

struct TNavPanelOptions {
  std::u16string IniFile;      // "opt_nav_inifile"
  bool ShowBackground = false;  // "opt_nav_showbg": the bar's cells are drawn
  int32_t Hue = 0;              // "opt_nav_hue", degrees round the colour wheel
  double SizePercent = 10;      // "opt_nav_viewscale": panel height in percent of the layer
  bool UseVideoScale = false;   // "opt_nav_usevideoscale": the bar's own size times layer / design
  int32_t Offset = 0;           // "opt_nav_offset"
  int32_t Position = kCentrePosition;       // from "opt_cp"
  std::vector<std::u16string> ExtraButtons;  // "opt_newnavbutton" 1 … "opt_newnavbuttons_count"
};

// What the video-style bar shows of the show and sets in it.
struct TNavPanelShow {
  double Length = 0;  // ms
  double Volume = 1;  // the show's master volume, 0 … 1
  std::function<void(float volume)> SetVolume;
  std::function<void(int32_t ms)> GoToTime;
};

// The panel keys of the show's main section.
TNavPanelOptions ReadNavPanelOptions(const TIniIdentList& main);

// What a pointer event on the panel came to.
struct TNavPanelAnswer {
  bool HasMouse = false;  // the pointer is over the panel, or a button is held there
  TKivActionInfo Action;  // what a click carries out; none without one
};

class TNavPanel {
 public:
  // files: the show's files (kept, not owned); isPlaying tells the pause button its look.
  TNavPanel(const TFileAccessor& files, TNavPanelOptions options, std::function<bool()> isPlaying);

  // The show the video-style bar controls; set before Load.
  void SetShow(TNavPanelShow show) { FShow = std::move(show); }

  // Reads the panel description and lays the panel out on a layer of that size, for a
  // show designed at design. False when the description is missing or refused (Error()
  // tells why); the show then runs without a panel.
  bool Load(TPixelSize layer, TPixelSize design);
  // Reads a description that is already parsed, with the pictures named relative to folder.
  bool Load(const TIniStorage& ini, std::u16string folder, TPixelSize layer, TPixelSize design);

  const std::string& Error() const { return FError; }
  bool Ready() const { return FBar != nullptr || FVideoBar != nullptr; }
  // "VideoStyle" of the description's "Common" section: the media-player style bar.
  bool VideoStyle() const { return FVideoStyle; }
  // The skinned bar, or the video-style bar: one of them once ready.
  const TNavBar* Bar() const { return FBar.get(); }
  const TVideoNavBar* VideoBar() const { return FVideoBar.get(); }
  const TBitmap* Picture() const;
  // Counts the changes of the picture, so that a drawer knows when to take it again.
  uint32_t PictureVersion() const { return FVersion; }
  // Where the panel lies on the layer.
  const TRect& Rect() const { return FRect; }
  bool HasMouse() const { return FHasMouse; }
  // Lays the panel out anew on a layer of another size.
  void LayOut(TPixelSize layer, TPixelSize design);

  // kind: TNavMouseKind; button 1 is the left one; x, y on the layer.
  TNavPanelAnswer Mouse(int32_t kind, int32_t button, int32_t x, int32_t y);
  // Per frame: the pause button follows the show, and the video-style bar its time.
  void Tick();
  void Tick(double showTime);

 private:
  std::shared_ptr<const TBitmap> LoadPicture(std::u16string_view name) const;
  bool LoadVideoBar(const TIniStorage& ini, TPixelSize layer, TPixelSize design);
  void FitVideoBar(TPixelSize layer, TPixelSize design);

  const TFileAccessor& FFiles;
  TNavPanelOptions FOptions;
  std::function<bool()> FIsPlaying;
  std::unique_ptr<TIniFile> FIni;
  std::unique_ptr<TNavBar> FBar;
  std::unique_ptr<TVideoNavBar> FVideoBar;
  TNavPanelShow FShow;
  std::u16string FFolder;
  std::string FError;
  bool FVideoStyle = false;
  TRect FRect;
  uint32_t FVersion = 0;
  bool FHasMouse = false;
  bool FHeld = false;
  TKivActionInfo FClicked;
};

}  // namespace kiv
