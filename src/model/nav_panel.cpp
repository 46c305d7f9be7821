#include "model/nav_panel.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "base/log.h"
#include "base/text.h"
#include "graphics/picture_loaders.h"
#include "model/nav_action.h"

namespace kiv {

TNavPanelOptions ReadNavPanelOptions(const TIniIdentList& main) {
  TNavPanelOptions options;
  options.IniFile = main.ReadString(u"opt_nav_inifile", u"");
  options.ShowBackground = main.ReadBool(u"opt_nav_showbg", false);
  options.Hue = main.ReadInteger(u"opt_nav_hue", 0);
  options.SizePercent = main.ReadFloat(u"opt_nav_viewscale", 10);
  options.UseVideoScale = main.ReadBool(u"opt_nav_usevideoscale", false);
  options.Offset = main.ReadInteger(u"opt_nav_offset", 0);
  options.Position = PanelPositionIndex(main.ReadString(u"opt_cp", u"Center"));
  const int32_t count = std::clamp(main.ReadInteger(u"opt_newnavbuttons_count", 0), 0, 100);
  for (int32_t n = 1; n <= count; ++n) {
    std::u16string name = main.ReadString(u"opt_newnavbutton" + IntToText(n), u"");
    if (!name.empty()) options.ExtraButtons.push_back(std::move(name));
  }
  return options;
}

TNavPanel::TNavPanel(const TFileAccessor& files, TNavPanelOptions options, std::function<bool()> isPlaying)
    : FFiles(files), FOptions(std::move(options)), FIsPlaying(std::move(isPlaying)) {}

bool TNavPanel::Load(TPixelSize layer, TPixelSize design) {
  FBar.reset();
  FVideoBar.reset();
  auto ini = std::make_unique<TIniFile>();
  const std::unique_ptr<TStream> stream = FFiles.OpenStream(FOptions.IniFile);
  try {
    if (!stream || !ini->LoadFromStream(*stream)) {
      FError = "The navigation panel file \"" + Utf16ToUtf8(FOptions.IniFile) + "\" cannot be read";
      Log().Write("TNavPanel: " + FError);
      return false;
    }
  } catch (const EKivError& error) {
    FError = error.what();
    return false;
  }
  const size_t slash = FOptions.IniFile.find_last_of(u"\\/");
  const bool loaded = Load(*ini, slash == std::u16string::npos ? u"" : FOptions.IniFile.substr(0, slash + 1), layer, design);
  FIni = std::move(ini);
  return loaded;
}

bool TNavPanel::Load(const TIniStorage& ini, std::u16string folder, TPixelSize layer, TPixelSize design) {
  FBar.reset();
  FVideoBar.reset();
  FError.clear();
  FFolder = std::move(folder);
  FVideoStyle = ini.ReadBool(u"Common", u"VideoStyle", false);
  // A video-style description with the media-player skin ("BarSize") gets that bar; one
  // with a grid skin keeps the skinned bar, laid out as the video style asks.
  if (FVideoStyle && !ini.ReadString(u"Pixel positions", u"BarSize", u"").empty())
    return LoadVideoBar(ini, layer, design);
  auto bar = std::make_unique<TNavBar>(TNavBar::TCallbacks{
      [this](int32_t index) {
        if (FBar && index >= 0 && size_t(index) < FBar->ButtonCount())
          FClicked = NavCommandAction(FBar->Button(size_t(index)).Skin.Name);
      },
      FIsPlaying, [this](const TRect&) { ++FVersion; },
      [this](std::u16string_view name) { return LoadPicture(name); }});
  const int32_t hue = ((FOptions.Hue % 360) + 540) % 360 - 180;  // any number of degrees, turned into -180 … 179
  bar->SetLook({hue, 0, 0}, FOptions.ShowBackground);
  try {
    bar->LoadSkin(ini);
    std::vector<int32_t> chosen(bar->Actions().size());
    for (size_t i = 0; i < chosen.size(); ++i) chosen[i] = int32_t(i);
    for (const std::u16string& name : FOptions.ExtraButtons) {
      const int32_t index = bar->ActionIndex(name);
      if (index < 0)
        Log().Write("TNavPanel: the bar has no button \"" + Utf16ToUtf8(name) + "\"");
      else if (std::find(chosen.begin(), chosen.end(), index) == chosen.end())
        chosen.push_back(index);
    }
    bar->SetButtons(chosen);
  } catch (const EKivError& error) {
    FError = error.what();
    Log().Write("TNavPanel: " + FError);
    return false;
  }
  FBar = std::move(bar);
  FBar->UpdatePlayState();
  LayOut(layer, design);
  return true;
}

const TBitmap* TNavPanel::Picture() const {
  if (FBar) return FBar->Picture();
  return FVideoBar && !FVideoBar->Hidden() ? FVideoBar->Picture() : nullptr;
}

// The video-style bar: play/pause, the extra buttons it knows ("backward", "forward"),
// the show's time and its master volume.
bool TNavPanel::LoadVideoBar(const TIniStorage& ini, TPixelSize layer, TPixelSize design) {
  TVideoNavBar::TCallbacks callbacks;
  callbacks.IsPlaying = FIsPlaying;
  callbacks.Duration = [this] { return FShow.Length; };
  callbacks.Click = [this](int32_t index) {
    if (index < 0) FClicked = {kActionPause, 0, {}};
    else if (FVideoBar && index < FVideoBar->ChosenCount())
      FClicked = NavCommandAction(kVideoBarActions[size_t(FVideoBar->ChosenAction(index))]);
  };
  callbacks.Seek = [this](double ms) {
    const auto at = int32_t(std::clamp(std::round(ms), 0.0, 2147483647.0));
    if (FShow.GoToTime) FShow.GoToTime(at);
    else FClicked = {kActionGoToTime, at, {}};
  };
  callbacks.Volume = [this](double volume) {
    FShow.Volume = volume;
    if (FShow.SetVolume) FShow.SetVolume(float(volume));
  };
  callbacks.AfterPaint = [this](const TRect&) { ++FVersion; };
  callbacks.LoadImage = [this](std::u16string_view name) { return LoadPicture(name); };
  auto bar = std::make_unique<TVideoNavBar>(std::move(callbacks));
  try {
    bar->LoadSkin(ini, FFolder.empty() ? u"./" : FFolder);
    std::vector<int32_t> chosen;
    for (const std::u16string& name : FOptions.ExtraButtons) {
      const auto known = std::find_if(kVideoBarActions.begin(), kVideoBarActions.end(),
                                      [&](const std::u16string& action) { return SameTextIgnoringCase(action, name); });
      if (known == kVideoBarActions.end())
        Log().Write("TNavPanel: the bar has no button \"" + Utf16ToUtf8(name) + "\"");
      else if (std::find(chosen.begin(), chosen.end(), int32_t(known - kVideoBarActions.begin())) == chosen.end())
        chosen.push_back(int32_t(known - kVideoBarActions.begin()));
    }
    FVideoBar = std::move(bar);
    FVideoBar->SetWidth(layer.Width);
    FVideoBar->SetButtons(chosen);
  } catch (const EKivError& error) {
    FVideoBar.reset();
    FError = error.what();
    Log().Write("TNavPanel: " + FError);
    return false;
  }
  FVideoBar->UpdateVolume(FShow.Volume);
  LayOut(layer, design);
  return true;
}

void TNavPanel::FitVideoBar(TPixelSize layer, TPixelSize design) {
  FVideoBar->SetWidth(layer.Width);
  if (FOptions.UseVideoScale && design.Height > 0)
    FVideoBar->SetScale(double(layer.Height) / design.Height);
  else
    FVideoBar->FitHeight(int32_t(std::lround(layer.Height * FOptions.SizePercent * 0.01)));
}

std::shared_ptr<const TBitmap> TNavPanel::LoadPicture(std::u16string_view name) const {
  const std::unique_ptr<TStream> stream = FFiles.OpenStream(FFolder + std::u16string(name));
  if (!stream) return nullptr;
  try {
    const std::shared_ptr<TBitmapStore> store = LoadBitmapStore(*stream, name);
    return store ? store->GetMipLevel(0, TPixelFormat::Bgra32) : nullptr;
  } catch (const EKivError&) {
    return nullptr;
  }
}

// A video-style bar runs along the bottom at its own size; any other has the configured
// height and position.
void TNavPanel::LayOut(TPixelSize layer, TPixelSize design) {
  if (FVideoBar) {
    FitVideoBar(layer, design);
    FRect = FVideoBar->Hidden() ? TRect{} : TOverlayPlacement{0, 100, 0, 100}.Place(FVideoBar->Size(), {0, 0, layer.Width, layer.Height});
    return;
  }
  if (!FBar) return;
  const TPixelSize bar = FBar->Size();
  const TRect within{0, 0, layer.Width, layer.Height};
  if (FVideoStyle) {
    FRect = TOverlayPlacement{0, 100, 0, 100}.Place(bar, within);
    return;
  }
  double height = layer.Height * FOptions.SizePercent / 100;
  if (FOptions.UseVideoScale && design.Height > 0) height = double(bar.Height) * layer.Height / design.Height;
  height = std::clamp(height, 1.0, double(kMaxNavBarSide) * 4);
  const double width = std::clamp(height * bar.Width / bar.Height, 1.0, double(kMaxNavBarSide) * 4);
  FRect = TOverlayPlacement::At(FOptions.Position, FOptions.Offset)
              .Place({int32_t(std::lround(width)), int32_t(std::lround(height))}, within);
}

TNavPanelAnswer TNavPanel::Mouse(int32_t kind, int32_t button, int32_t x, int32_t y) {
  if (FVideoBar) {
    const bool inside = x >= FRect.Left && x < FRect.Right && y >= FRect.Top && y < FRect.Bottom;
    FClicked = {};
    if ((inside || FHeld) && FRect.Width() > 0 && FRect.Height() > 0) {
      const TPixelSize size = FVideoBar->Size();
      const auto barX = int32_t(std::lround(double(x - FRect.Left) / FRect.Width() * size.Width));
      const auto barY = int32_t(std::lround(double(y - FRect.Top) / FRect.Height() * size.Height));
      if (kind == kNavMouseDown && button == kNavLeftButton) FHeld = inside;
      if (kind == kNavMouseUp && button == kNavLeftButton) FHeld = false;
      FVideoBar->MouseEvent(kind, button, barX, barY);
    }
    FHasMouse = inside || FHeld;
    return {FHasMouse, FClicked};
  }
  if (!FBar) return {};
  const bool inside = x >= FRect.Left && x < FRect.Right && y >= FRect.Top && y < FRect.Bottom;
  TNavPanelAnswer answer;
  FClicked = {};
  if (inside || FHasMouse || (kind != kNavMouseDown && FHeld)) {
    const TPixelSize size = FBar->Size();
    const int32_t barX = int32_t(std::lround(double(x - FRect.Left) / FRect.Width() * size.Width));
    const int32_t barY = int32_t(std::lround(double(y - FRect.Top) / FRect.Height() * size.Height));
    if (kind == kNavMouseMove) {
      FBar->MouseEvent(kNavMouseMove, 0, 0, barX, barY);
    } else if (button == kNavLeftButton) {
      const bool wasHeld = FHeld;
      FHeld = kind == kNavMouseDown && inside;
      FBar->MouseEvent(kind, button, 0, barX, barY);
      if (FVideoStyle && kind == kNavMouseUp && wasHeld && inside && FClicked.Type == kActionNone &&
          FBar->ButtonAt(barX, barY) < 0)
        FClicked = {kActionPause, 0, {}};
    }
  }
  FHasMouse = inside || FHeld;
  answer.HasMouse = FHasMouse;
  answer.Action = FClicked;
  return answer;
}

void TNavPanel::Tick() {
  if (FBar) FBar->UpdatePlayState();
}

void TNavPanel::Tick(double showTime) {
  Tick();
  if (FVideoBar) FVideoBar->UpdateTime(showTime);
}

}  // namespace kiv
