#pragma once
// The media-player style bar of a show presented like a video: from left to right a
// play/pause button, the chosen buttons ("backward", "forward"), a time track with its
// slider, the elapsed and total time as digits, a sound button and a volume track. It
// draws itself from a skin into one picture scaled to the height it is given, repainting
// only the parts that changed, and tells its owner of clicks, seeks and volume changes.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/rect.h"
#include "graphics/bitmap.h"
#include "ini/ini_storage.h"

namespace kiv {

// The chosen buttons index these.
inline const std::vector<std::u16string> kVideoBarActions = {u"backward", u"forward"};

// Redraw requests.
enum : uint32_t {
  kRedrawPlay = 1,
  kRedrawChosen = 2,
  kRedrawTime = 4,
  kRedrawSound = 8,
  kRedrawVolume = 16,
  kRedrawAll = 31,
};

struct TVideoBarSkin {
  double DefaultScale = 10;
  int32_t BgLeft = 0, BgRight = 0;
  std::u16string Back;
  TPixelSize BarSize, BtnSize, DigitSize;
  int32_t TrackHeight = 0;
  int32_t VolumeLength = 0;
  int32_t LeftSpace = 0, ButtonsTrackSpace = 0, TrackDigitsSpace = 0, DigitsSoundBtnSpace = 0,
          SoundBtnTrackSpace = 0, RightSpace = 0;
  int32_t TrackLineLeft = 0, TrackLineRight = 0;
  std::u16string Line, Slider;
  std::array<std::u16string, 3> Strips;  // normal, hover, pressed
};

// The skin keys of ini; "Path delimiter nof found!" (EKivError) unless folder ends in a
// separator.
TVideoBarSkin ReadVideoBarSkin(const TIniStorage& ini, std::u16string_view folder);

class TVideoNavBar {
 public:
  struct TCallbacks {
    std::function<bool()> IsPlaying;
    std::function<double()> Duration;                   // ms
    std::function<void(int32_t index)> Click;           // -1 play/pause, else a chosen button
    std::function<void(double ms)> Seek;
    std::function<void(double volume)> Volume;          // 0 … 1
    std::function<void(const TRect& dirty)> AfterPaint;
    // A picture (Bgra32) by name in the skin folder; null when missing.
    std::function<std::shared_ptr<const TBitmap>(std::u16string_view name)> LoadImage;
  };

  explicit TVideoNavBar(TCallbacks callbacks);

  void LoadSkin(const TIniStorage& ini, std::u16string_view folder);
  // indexes into kVideoBarActions; unknown ones are skipped.
  void SetButtons(std::span<const int32_t> indexes);
  // kind: TNavMouseKind; only the left button counts; x, y in bar pixels.
  void MouseEvent(int32_t kind, int32_t button, int32_t x, int32_t y);
  void UpdateTime(double timeMs);
  void UpdateVolume(double volume);
  void SetWidth(int32_t pixels);
  // Sets the scale so that the bar is pixels high, then fits it; returns the time
  // track's right end.
  int32_t FitHeight(int32_t pixels);
  int32_t SetScale(double scale);

  const TVideoBarSkin& Skin() const { return FSkin; }
  double Scale() const { return FScale; }
  bool Hidden() const { return FHidden; }
  bool Hours() const { return FHours; }
  double Time() const { return FTime; }
  double Volume() const { return FVolume; }
  bool Paused() const { return FPaused; }
  TPixelSize Size() const { return {FWidth, BarHeight()}; }
  const TBitmap* Picture() const { return FPicture.get(); }
  int32_t ChosenCount() const { return int32_t(FChosen.size()); }
  int32_t ChosenAction(int32_t i) const { return FChosen[size_t(i)]; }
  // The layout at the current scale.
  struct TLayout {
    int32_t Height, Button, Slider, Digit, DigitHeight, Track, VolumeLength;
    int32_t T0, T1, D, SoundX, V0, V1;
  };
  TLayout Layout() const;
  int32_t TimeSliderCentre() const;
  int32_t VolumeSliderCentre() const;
  // The digits shown, "mm:ss / mm:ss" or with hours.
  std::string DigitsText() const;

 private:
  int32_t BarHeight() const;
  int32_t Fit();
  void Redraw(uint32_t parts);
  void RestoreBackground(const TRect& area);
  void DrawButton(int32_t image, int32_t state, int32_t x, const TLayout& layout);
  void DrawTrack(int32_t from, int32_t to, int32_t centre, const TLayout& layout);
  void DrawDigits(const TLayout& layout);
  bool InBand(int32_t y, int32_t band) const;
  double TrackValue(int32_t x, int32_t from, int32_t to, const TLayout& layout) const;
  double ShownTime() const;
  void SetButtonState(size_t button, int32_t state);

  TCallbacks FCallbacks;
  TVideoBarSkin FSkin;
  std::shared_ptr<const TBitmap> FBack, FLine, FSlider;
  std::array<std::shared_ptr<const TBitmap>, 3> FStrips;
  std::vector<int32_t> FChosen;
  int32_t FWidth = 0;
  double FScale = 1;
  bool FHidden = false;
  double FTime = 0;
  double FDuration = 0;
  double FVolume = -1;
  double FUnmuteVolume = 1;
  bool FPaused = false;
  bool FSavedPaused = false;
  enum class TDrag { None, Time, Volume } FDrag = TDrag::None;
  int32_t FGrab = 0;
  std::vector<int32_t> FStates;  // play, sound, then the chosen buttons: 0 normal, 1 hover, 2 pressed
  bool FHours = false;
  int32_t FDrawnSlider = -1;
  int64_t FDrawnSecond = -1;
  std::unique_ptr<TBitmap> FPicture;
  std::unique_ptr<TBitmap> FBackground;  // the back image stretched to the bar, kept once
};

}  // namespace kiv
