#include "model/video_nav_bar.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/errors.h"
#include "graphics/pixel_blend.h"
#include "model/nav_bar.h"

namespace kiv {

namespace {

// Halving the scale stops here, so that a layout that cannot fit never loops.
constexpr int kMostHalvings = 32;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

TPixelSize ReadPair(const TIniStorage& ini, std::u16string_view section, std::u16string_view key) {
  const std::u16string text = ini.ReadString(section, key, u"");
  const size_t comma = text.find(u',');
  if (comma == std::u16string::npos) return {};
  const auto number = [](std::u16string_view part) {
    int32_t value = 0;
    bool any = false;
    for (char16_t c : part) {
      if (c == u' ' && !any) continue;
      if (c < u'0' || c > u'9') break;
      value = std::min(value * 10 + int32_t(c - u'0'), kMaxNavBarSide);
      any = true;
    }
    return value;
  };
  return {number(std::u16string_view(text).substr(0, comma)), number(std::u16string_view(text).substr(comma + 1))};
}

int32_t Scaled(int32_t size, double scale) { return int32_t(std::lround(size * scale)); }

// Pixels of source within from drawn stretched over to (nearest pixel), blended over
// target within clip.
void DrawStretched(TBitmap& target, const TBitmap& source, const TRect& from, const TRect& to, const TRect& clip) {
  if (from.Width() <= 0 || from.Height() <= 0 || to.Width() <= 0 || to.Height() <= 0) return;
  const TRect area = Intersection(Intersection(to, clip), {0, 0, target.Width(), target.Height()});
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    const int32_t sy = std::clamp(from.Top + int32_t(int64_t(y - to.Top) * from.Height() / to.Height()), 0,
                                  source.Height() - 1);
    uint8_t* d = target.Row(y) + size_t(area.Left) * 4;
    for (int32_t x = area.Left; x < area.Right; ++x, d += 4) {
      const int32_t sx = std::clamp(from.Left + int32_t(int64_t(x - to.Left) * from.Width() / to.Width()), 0,
                                    source.Width() - 1);
      const uint8_t* s = source.Row(sy) + size_t(sx) * 4;
      if (s[3] != 0) BlendOver(d, uint32_t(s[3]) << 24 | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0]);
    }
  }
}

// A picture drawn over to in three parts: its left and right ends (left and right
// source pixels, kept at the height's scale) and its middle stretched between them.
void DrawThreeParts(TBitmap& target, const TBitmap& source, int32_t left, int32_t right, const TRect& to,
                    const TRect& clip) {
  left = std::clamp(left, 0, source.Width());
  right = std::clamp(right, 0, source.Width() - left);
  const double k = source.Height() > 0 ? double(to.Height()) / source.Height() : 1;
  const int32_t l = std::min(Scaled(left, k), to.Width() / 2), r = std::min(Scaled(right, k), to.Width() / 2);
  const int32_t h = source.Height();
  DrawStretched(target, source, {0, 0, left, h}, {to.Left, to.Top, to.Left + l, to.Bottom}, clip);
  DrawStretched(target, source, {left, 0, source.Width() - right, h}, {to.Left + l, to.Top, to.Right - r, to.Bottom},
                clip);
  DrawStretched(target, source, {source.Width() - right, 0, source.Width(), h}, {to.Right - r, to.Top, to.Right, to.Bottom},
                clip);
}

void Fill(TBitmap& target, const TRect& rect, uint32_t colour) {
  const TRect area = Intersection(rect, {0, 0, target.Width(), target.Height()});
  for (int32_t y = area.Top; y < area.Bottom; ++y) {
    uint8_t* d = target.Row(y) + size_t(area.Left) * 4;
    for (int32_t x = area.Left; x < area.Right; ++x, d += 4) BlendOver(d, colour);
  }
}

// The segments of the digits 0 … 9: a top, b top right, c bottom right, d bottom, e
// bottom left, f top left, g middle.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// One glyph in a cell of width × height at (x, y): a digit, ':' or '/'.
void DrawGlyph(TBitmap& target, char glyph, int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t t = std::max(1, width / 6);
  const int32_t l = x + t, r = x + width - t, top = y + t, bottom = y + height - t, middle = y + height / 2;
  if (glyph >= '0' && glyph <= '9') {
    const uint8_t on = kSegments[glyph - '0'];
    const TRect segments[7] = {{l, top, r, top + t},          {r - t, top, r, middle},    {r - t, middle, r, bottom},
                               {l, bottom - t, r, bottom},    {l, middle, l + t, bottom}, {l, top, l + t, middle},
                               {l, middle - t / 2, r, middle - t / 2 + t}};
    for (int i = 0; i < 7; ++i)
      if (on & (1 << i)) Fill(target, segments[i], kWhite);
  } else if (glyph == ':') {
    const int32_t c = x + width / 2 - t / 2;
    Fill(target, {c, y + height / 3, c + t, y + height / 3 + t}, kWhite);
    Fill(target, {c, y + 2 * height / 3, c + t, y + 2 * height / 3 + t}, kWhite);
  } else if (glyph == '/') {
    for (int32_t row = top; row < bottom; ++row) {
      const int32_t c = x + width / 2 + (middle - row) * width / 4 / std::max(1, bottom - top);
      Fill(target, {c, row, c + t, row + 1}, kWhite);
    }
  }
}

}  // namespace

TVideoBarSkin ReadVideoBarSkin(const TIniStorage& ini, std::u16string_view folder) {
  if (folder.empty() || (folder.back() != u'/' && folder.back() != u'\\')) throw EKivError("Path delimiter nof found!");
  TVideoBarSkin skin;
  skin.DefaultScale = ini.ReadFloat(u"Common", u"DefaultScale", 10);
  skin.BgLeft = ini.ReadInteger(u"Common", u"BgLeft", 0);
  skin.BgRight = ini.ReadInteger(u"Common", u"BgRight", 0);
  skin.Back = ini.ReadString(u"Common", u"flnm_back", u"");
  skin.BarSize = ReadPair(ini, u"Pixel positions", u"BarSize");
  skin.TrackHeight = std::clamp(ini.ReadInteger(u"Pixel positions", u"TrackHeight", 0), 0, kMaxNavBarSide);
  skin.BtnSize = ReadPair(ini, u"Pixel positions", u"BtnSize");
  skin.DigitSize = ReadPair(ini, u"Pixel positions", u"DigitSize");
  skin.VolumeLength = std::clamp(ini.ReadInteger(u"Pixel positions", u"VolumeControlLength", 0), 0, kMaxNavBarSide);
  const auto gap = [&](std::u16string_view key) {
    return std::clamp(ini.ReadInteger(u"Pixel positions", key, 0), 0, kMaxNavBarSide);
  };
  skin.LeftSpace = gap(u"LeftSpace");
  skin.ButtonsTrackSpace = gap(u"ButtonsTrackSpace");
  skin.TrackDigitsSpace = gap(u"TrackDigitsSpace");
  skin.DigitsSoundBtnSpace = gap(u"DigitsSoundBtnSpace");
  skin.SoundBtnTrackSpace = gap(u"SoundBtnTrackSpace");
  skin.RightSpace = gap(u"RightSpace");
  skin.TrackLineLeft = ini.ReadInteger(u"Trackbar", u"TrackLineLeft", 0);
  skin.TrackLineRight = ini.ReadInteger(u"Trackbar", u"TrackLineRight", 0);
  skin.Line = ini.ReadString(u"Trackbar", u"flnm_Line", u"");
  skin.Slider = ini.ReadString(u"Trackbar", u"flnm_Polzun", u"");
  skin.Strips = {ini.ReadString(u"Buttons", u"flnm_Normal", u""), ini.ReadString(u"Buttons", u"flnm_Hover", u""),
                 ini.ReadString(u"Buttons", u"flnm_Click", u"")};
  if (skin.BarSize.Height <= 0 || skin.BarSize.Width <= 0) throw EKivError("The video bar's skin has no \"BarSize\"");
  return skin;
}

TVideoNavBar::TVideoNavBar(TCallbacks callbacks) : FCallbacks(std::move(callbacks)) {
  KIV_ASSERT(FCallbacks.LoadImage != nullptr);
}

void TVideoNavBar::LoadSkin(const TIniStorage& ini, std::u16string_view folder) {
  FSkin = ReadVideoBarSkin(ini, folder);
  const auto load = [this](const std::u16string& name) -> std::shared_ptr<const TBitmap> {
    if (name.empty()) return nullptr;
    std::shared_ptr<const TBitmap> picture = FCallbacks.LoadImage(name);
    return picture && picture->Width() > 0 && picture->Height() > 0 ? picture : nullptr;
  };
  FBack = load(FSkin.Back);
  FLine = load(FSkin.Line);
  FSlider = load(FSkin.Slider);
  for (size_t i = 0; i < FStrips.size(); ++i) FStrips[i] = load(FSkin.Strips[i]);
  FBackground.reset();
}

void TVideoNavBar::SetButtons(std::span<const int32_t> indexes) {
  FChosen.clear();
  for (int32_t index : indexes)
    if (index >= 0 && size_t(index) < kVideoBarActions.size()) FChosen.push_back(index);
  FStates.assign(2 + FChosen.size(), 0);
  FDuration = FCallbacks.Duration ? FCallbacks.Duration() : 0;
  FHours = FDuration >= 3600000;
  if (FCallbacks.IsPlaying) FPaused = !FCallbacks.IsPlaying();
  Fit();
  Redraw(kRedrawAll);
}

int32_t TVideoNavBar::BarHeight() const { return std::clamp(Scaled(FSkin.BarSize.Height, FScale), 1, kMaxNavBarSide); }

TVideoNavBar::TLayout TVideoNavBar::Layout() const {
  TLayout l{};
  const double k = FScale;
  l.Height = BarHeight();
  l.Button = Scaled(FSkin.BtnSize.Width, k);
  l.Digit = Scaled(FSkin.DigitSize.Width, k);
  l.DigitHeight = Scaled(FSkin.DigitSize.Height, k);
  l.Track = Scaled(FSkin.TrackHeight, k);
  l.VolumeLength = Scaled(FSkin.VolumeLength, k);
  l.Slider = Scaled(FSlider ? FSlider->Width() : FSkin.TrackHeight, k);
  const auto n = int32_t(FChosen.size());
  l.T0 = FSkin.LeftSpace + (n + 1) * l.Button + FSkin.ButtonsTrackSpace;
  l.D = FWidth - FSkin.RightSpace - l.VolumeLength - FSkin.SoundBtnTrackSpace - l.Button - FSkin.DigitsSoundBtnSpace;
  l.T1 = l.D - (FHours ? 18 : 12) * l.Digit;
  l.SoundX = l.D + FSkin.DigitsSoundBtnSpace;
  l.V0 = FWidth - FSkin.RightSpace - l.VolumeLength;
  l.V1 = FWidth - FSkin.RightSpace;
  return l;
}

void TVideoNavBar::SetWidth(int32_t pixels) {
  FWidth = std::clamp(pixels, 0, kMaxNavBarSide);
  FBackground.reset();
}

int32_t TVideoNavBar::FitHeight(int32_t pixels) {
  return SetScale(FSkin.BarSize.Height > 0 ? double(pixels) / FSkin.BarSize.Height : 1);
}

int32_t TVideoNavBar::SetScale(double scale) {
  FScale = std::isfinite(scale) && scale > 0 ? std::min(scale, 64.0) : 1;
  const int32_t end = Fit();
  FBackground.reset();
  Redraw(kRedrawAll);
  return end;
}

int32_t TVideoNavBar::Fit() {
  TLayout l = Layout();
  FHidden = l.T0 + l.Slider >= l.T1;
  if (FHidden) return l.T1;
  for (int halving = 0; !(l.Slider + l.T0 + 100 < l.T1); ++halving) {
    if (halving == kMostHalvings) {
      FHidden = true;
      break;
    }
    FScale /= 2;
    l = Layout();
  }
  return l.T1;
}

int32_t TVideoNavBar::TimeSliderCentre() const {
  const TLayout l = Layout();
  const int32_t start = l.T0 + l.Slider / 2;
  if (!(FDuration > 0) || !(FTime >= 0)) return start;
  const double p = std::fmod(FTime, FDuration);
  return start + int32_t(std::trunc(double(l.T1 - l.Slider - l.T0) * p / FDuration));
}

int32_t TVideoNavBar::VolumeSliderCentre() const {
  const TLayout l = Layout();
  const int32_t start = l.V0 + l.Slider / 2;
  if (!(FVolume >= 0 && FVolume <= 1)) return start;
  return start + int32_t(std::lround(double(l.V1 - l.Slider - l.V0) * FVolume));
}

double TVideoNavBar::ShownTime() const {
  if (!(FTime >= 0)) return 0;
  return FDuration > 0 ? std::fmod(FTime, FDuration) : FTime;
}

std::string TVideoNavBar::DigitsText() const {
  const auto format = [this](double ms) {
    const auto seconds = int64_t(std::clamp(ms, 0.0, 1e15) / 1000);
    char text[16];
    if (FHours)
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(seconds / 3600 % 100), int(seconds / 60 % 60),
                    int(seconds % 60));
    else
      std::snprintf(text, sizeof text, "%02d:%02d", int(seconds / 60 % 60), int(seconds % 60));
    return std::string(text);
  };
  return format(ShownTime()) + "/" + format(FDuration);
}

bool TVideoNavBar::InBand(int32_t y, int32_t band) const {
  const int32_t h = BarHeight();
  return y >= (h - band) / 2 && y < (h - band) / 2 + band;
}

double TVideoNavBar::TrackValue(int32_t x, int32_t from, int32_t to, const TLayout& l) const {
  const int32_t length = to - from - l.Slider;
  if (length <= 0) return 0;  // a track no longer than its slider has one value
  const int32_t q = std::clamp(x - FGrab, from + l.Slider / 2, to - l.Slider / 2);
  return std::clamp(double(q - from - l.Slider / 2) / length, 0.0, 1.0);
}

void TVideoNavBar::SetButtonState(size_t button, int32_t state) {
  if (button >= FStates.size() || FStates[button] == state) return;
  FStates[button] = state;
  Redraw(button == 0 ? kRedrawPlay : button == 1 ? kRedrawSound : kRedrawChosen);
}

void TVideoNavBar::MouseEvent(int32_t kind, int32_t button, int32_t x, int32_t y) {
  if (FHidden || FStates.empty()) return;
  const TLayout l = Layout();
  const bool inTrack = InBand(y, l.Track);
  const bool inButtons = InBand(y, Scaled(FSkin.BtnSize.Height, FScale));
  const auto on = [x](int32_t left, int32_t width) { return x >= left && x < left + width; };
  const auto grabOf = [&](int32_t centre) { return std::abs(x - centre) <= l.Slider / 2 ? x - centre : 0; };
  if (kind == kNavMouseDown) {
    if (button != kNavLeftButton) return;
    if (inTrack && x >= l.T0 && x <= l.T1) {
      FDrag = TDrag::Time;
      FSavedPaused = FPaused;
      FPaused = true;
      if (!FSavedPaused && FCallbacks.Click) FCallbacks.Click(-1);
      FGrab = grabOf(TimeSliderCentre());
    } else if (inTrack && x >= l.V0 && x <= l.V1) {
      FDrag = TDrag::Volume;
      FGrab = grabOf(VolumeSliderCentre());
    } else if (inButtons && on(FSkin.LeftSpace, l.Button)) {
      FPaused = !FPaused;
      FStates[0] = 2;
      Redraw(kRedrawPlay);
      if (FCallbacks.Click) FCallbacks.Click(-1);
    } else if (inButtons && on(l.SoundX, l.Button)) {
      if (FVolume != 0) {
        if (FVolume > 0) FUnmuteVolume = FVolume;
        FVolume = 0;
      } else {
        FVolume = FUnmuteVolume;
      }
      FStates[1] = 2;
      Redraw(kRedrawSound | kRedrawVolume);
      if (FCallbacks.Volume) FCallbacks.Volume(FVolume);
    } else if (inButtons) {
      for (int32_t i = 1; i <= ChosenCount(); ++i)
        if (on(FSkin.LeftSpace + i * l.Button, l.Button)) {
          FStates[size_t(1 + i)] = 2;
          Redraw(kRedrawChosen);
          if (FCallbacks.Click) FCallbacks.Click(i - 1);
        }
    }
    return;
  }
  if (kind == kNavMouseMove) {
    if (std::find(FStates.begin(), FStates.end(), 2) != FStates.end()) return;
    for (size_t i = 0; i < FStates.size(); ++i) SetButtonState(i, 0);
    if (FDrag == TDrag::Time) {
      FTime = FDuration * TrackValue(x, l.T0, l.T1, l);
      Redraw(kRedrawTime);
      if (FCallbacks.Seek) FCallbacks.Seek(FTime);
    } else if (FDrag == TDrag::Volume) {
      FVolume = TrackValue(x, l.V0, l.V1, l);
      Redraw(kRedrawVolume | kRedrawSound);
      if (FCallbacks.Volume) FCallbacks.Volume(FVolume);
    } else if (inButtons) {
      if (on(FSkin.LeftSpace, l.Button)) SetButtonState(0, 1);
      if (on(l.SoundX, l.Button)) SetButtonState(1, 1);
      for (int32_t i = 1; i <= ChosenCount(); ++i)
        if (on(FSkin.LeftSpace + i * l.Button, l.Button)) SetButtonState(size_t(1 + i), 1);
    }
    return;
  }
  if (kind != kNavMouseUp || button != kNavLeftButton) return;
  const TDrag drag = FDrag;
  if (drag == TDrag::Time) {
    FPaused = FSavedPaused;
    Redraw(kRedrawPlay);
    if (!FSavedPaused && FCallbacks.Click) FCallbacks.Click(-1);
  }
  if (inTrack || drag != TDrag::None) {
    if (x >= l.T0 && x <= l.T1 && drag != TDrag::Volume) {
      FTime = FDuration * TrackValue(x, l.T0, l.T1, l);
      Redraw(kRedrawTime);
      if (FCallbacks.Seek) FCallbacks.Seek(FTime);
    } else if (x >= l.V0 && x <= l.V1 && drag != TDrag::Time) {
      FVolume = TrackValue(x, l.V0, l.V1, l);
      Redraw(kRedrawVolume | kRedrawSound);
      if (FCallbacks.Volume) FCallbacks.Volume(FVolume);
    }
  }
  FDrag = TDrag::None;
  FGrab = 0;
  for (size_t i = 0; i < FStates.size(); ++i)
    if (FStates[i] == 2) SetButtonState(i, 0);
}

void TVideoNavBar::UpdateTime(double timeMs) {
  if (FHidden) return;
  const bool paused = FCallbacks.IsPlaying ? !FCallbacks.IsPlaying() : FPaused;
  if (FDrag == TDrag::Time) return;
  FTime = timeMs;
  uint32_t parts = 0;
  if (TimeSliderCentre() != FDrawnSlider || int64_t(ShownTime() / 1000) != FDrawnSecond) parts |= kRedrawTime;
  if (paused != FPaused) {
    FPaused = paused;
    parts |= kRedrawPlay;
  }
  if (parts) Redraw(parts);
}

void TVideoNavBar::UpdateVolume(double volume) {
  if (FHidden || FDrag == TDrag::Volume || volume == FVolume) return;
  const bool muteChanged = (FVolume == 0) != (volume == 0);
  const int32_t before = VolumeSliderCentre();
  FVolume = volume;
  uint32_t parts = muteChanged ? uint32_t(kRedrawSound) : 0u;
  if (VolumeSliderCentre() != before) parts |= kRedrawVolume;
  if (parts) Redraw(parts);
}

void TVideoNavBar::RestoreBackground(const TRect& area) {
  const TRect clip = Intersection(area, {0, 0, FPicture->Width(), FPicture->Height()});
  for (int32_t y = clip.Top; y < clip.Bottom; ++y) {
    uint8_t* d = FPicture->Row(y) + size_t(clip.Left) * 4;
    if (FBackground)
      std::memcpy(d, FBackground->Row(y) + size_t(clip.Left) * 4, size_t(clip.Width()) * 4);
    else
      std::fill_n(d, size_t(clip.Width()) * 4, uint8_t(0));
  }
}

void TVideoNavBar::DrawButton(int32_t image, int32_t state, int32_t x, const TLayout& l) {
  const std::shared_ptr<const TBitmap>& strip = FStrips[size_t(std::clamp(state, 0, 2))] ? FStrips[size_t(state)] : FStrips[0];
  const int32_t h = Scaled(FSkin.BtnSize.Height, FScale), top = (l.Height - h) / 2;
  RestoreBackground({x, 0, x + l.Button, l.Height});
  if (!strip) return;
  const int32_t w = FSkin.BtnSize.Width;
  DrawStretched(*FPicture, *strip, {image * w, 0, image * w + w, std::min(FSkin.BtnSize.Height, strip->Height())},
                {x, top, x + l.Button, top + h}, {x, 0, x + l.Button, l.Height});
}

void TVideoNavBar::DrawTrack(int32_t from, int32_t to, int32_t centre, const TLayout& l) {
  const TRect area{from, 0, to, l.Height};
  RestoreBackground(area);
  const int32_t top = (l.Height - l.Track) / 2;
  if (FLine) DrawThreeParts(*FPicture, *FLine, FSkin.TrackLineLeft, FSkin.TrackLineRight, {from, top, to, top + l.Track}, area);
  if (FSlider) {
    const int32_t h = Scaled(FSlider->Height(), FScale), y = (l.Height - h) / 2;
    DrawStretched(*FPicture, *FSlider, {0, 0, FSlider->Width(), FSlider->Height()},
                  {centre - l.Slider / 2, y, centre - l.Slider / 2 + l.Slider, y + h}, area);
  }
}

void TVideoNavBar::DrawDigits(const TLayout& l) {
  const TRect area{l.T1, 0, l.D, l.Height};
  RestoreBackground(area);
  const std::string text = DigitsText();
  int32_t width = 0;
  for (char c : text) width += c == '/' ? 2 * l.Digit : l.Digit;
  const int32_t left = l.T1 + FSkin.TrackDigitsSpace, right = l.D;
  int32_t x = left + (right - left - width) / 2;
  const int32_t y = (l.Height - l.DigitHeight) / 2;
  for (char c : text) {
    const int32_t w = c == '/' ? 2 * l.Digit : l.Digit;
    DrawGlyph(*FPicture, c, x, y, w, l.DigitHeight);
    x += w;
  }
  FDrawnSecond = int64_t(ShownTime() / 1000);
}

void TVideoNavBar::Redraw(uint32_t parts) {
  if (FHidden || FWidth <= 0 || FStates.empty()) return;
  const TLayout l = Layout();
  if (!FPicture || FPicture->Width() != FWidth || FPicture->Height() != l.Height) {
    FPicture = std::make_unique<TBitmap>(FWidth, l.Height, TPixelFormat::Bgra32);
    parts = kRedrawAll;
  }
  if (!FBackground) {
    parts = kRedrawAll;
    if (FBack) {
      FBackground = std::make_unique<TBitmap>(FWidth, l.Height, TPixelFormat::Bgra32);
      std::memset(FBackground->Row(0), 0, size_t(FBackground->Stride()) * size_t(l.Height));
      DrawThreeParts(*FBackground, *FBack, FSkin.BgLeft, FSkin.BgRight, {0, 0, FWidth, l.Height}, {0, 0, FWidth, l.Height});
    }
  }
  if (parts == kRedrawAll) RestoreBackground({0, 0, FWidth, l.Height});
  const bool paused = FDrag == TDrag::Time ? FSavedPaused : FPaused;
  if (parts & kRedrawPlay) DrawButton(paused ? 0 : 1, FStates[0], FSkin.LeftSpace, l);
  if (parts & kRedrawChosen)
    for (int32_t i = 1; i <= ChosenCount(); ++i)
      DrawButton(FChosen[size_t(i - 1)] + 4, FStates[size_t(1 + i)], FSkin.LeftSpace + i * l.Button, l);
  if (parts & kRedrawTime) {
    FDrawnSlider = TimeSliderCentre();
    DrawTrack(l.T0, l.T1, FDrawnSlider, l);
    DrawDigits(l);
  }
  if (parts & kRedrawSound) DrawButton(FVolume == 0 ? 3 : 2, FStates[1], l.SoundX, l);
  if (parts & kRedrawVolume) DrawTrack(l.V0, l.V1, VolumeSliderCentre(), l);
  if (FCallbacks.AfterPaint) FCallbacks.AfterPaint({0, 0, FWidth, l.Height});
}

}  // namespace kiv
