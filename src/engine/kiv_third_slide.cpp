#include "engine/kiv_third_slide.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/errors.h"
#include "base/log.h"
#include "base/text.h"
#include "graphics/bitmap_convert.h"
#include "graphics/picture_loaders.h"
#include "model/action_text.h"
#include "model/kiv_source.h"
#include "model/logo_scale.h"
#include "model/prepare_now.h"
#include "model/slide_pointer.h"
#include "model/standard_object_kinds.h"

namespace kiv {
namespace {

uint32_t Milliseconds(int32_t value, int32_t factor) {
  return uint32_t(std::clamp(int64_t(value) * factor, int64_t(0), int64_t(24) * 3600 * 1000));
}

}  // namespace

TThirdSlideOptions ReadThirdSlideOptions(const TIniIdentList& main) {
  TThirdSlideOptions options;
  options.LogoFile = main.ReadString(u"opt_logo_fn", u"");
  options.Logo = main.ReadBool(u"opt_logo", false) && !options.LogoFile.empty();
  options.LogoPosition = LogoPositionIndex(main.ReadInteger(u"opt_logo_pos", 0));
  options.LogoOpacity = std::clamp(main.ReadFloat(u"opt_logo_opacity", 100), 0.0, 100.0);
  options.LogoOffset = main.ReadInteger(u"opt_logo_offset", 0);
  options.LogoSize = std::clamp(main.ReadFloat(u"opt_logo_size", 10), 0.0, 100.0);
  options.Panel = main.ReadBool(u"opt_fcp", false);
  if (!options.Panel) return options;
  options.PanelOptions = ReadNavPanelOptions(main);
  options.AutoHide = main.ReadBool(u"opt_hidenavbar", false);
  options.HideOnStartUp = options.AutoHide && main.ReadBool(u"opt_nav_hideonstartup", false);
  options.HideInterval = Milliseconds(main.ReadInteger(u"opt_nav_hideinterval", 0), 1000);
  options.FadeOut = Milliseconds(main.ReadInteger(u"opt_nav_hidefadeout", 1000), 1);
  options.FadeIn = Milliseconds(main.ReadInteger(u"opt_nav_fadein", 500), 1);
  return options;
}

TThirdSlide::TThirdSlide(const TThirdSlideParams& params, bool leavePanelOut)
    : FSource(*params.Source),
      FOptions(ReadThirdSlideOptions(params.Source->MainSection())),
      FPanelOnShowTime(params.PanelOnShowTime),
      FLayer{0, 0, params.Size.Width, params.Size.Height},
      FDetector(FOptions.HideInterval, params.PanelOnShowTime ? &FShowClock : nullptr),
      FFader(FOptions.FadeIn, FOptions.FadeOut, params.PanelOnShowTime ? &FShowClock : nullptr) {
  const TIniSection& main = params.Source->MainSection();
  FDesign = {main.ReadInteger(u"opt_scr_width", params.Size.Width), main.ReadInteger(u"opt_scr_height", params.Size.Height)};
  const TFileAccessor* files = params.Source->Container();
  if (!files) return;
  if (FOptions.Logo) LoadLogo(*files);
  if (FOptions.Panel && !leavePanelOut) {
    FPanel = std::make_unique<TNavPanel>(*files, FOptions.PanelOptions, params.IsPlaying);
    FPanel->SetShow({params.Length, params.Volume, params.SetVolume, params.GoToTime});
    if (!FPanel->Load(params.Size, FDesign)) FPanel.reset();
  }
  // Hidden from the first frame on, until the pointer moves.
  if (FPanel && FOptions.HideOnStartUp) {
    FDetector.StartResting();
    FFader.HideNow();
  }
}

TThirdSlide::~TThirdSlide() = default;

// A logo that cannot be read is left out: no placeholder stands in for it.
void TThirdSlide::LoadLogo(const TFileAccessor& files) {
  const std::unique_ptr<TStream> stream = files.OpenStream(FOptions.LogoFile);
  std::shared_ptr<const TBitmap> picture;
  try {
    const std::shared_ptr<TBitmapStore> store = stream ? LoadBitmapStore(*stream, FOptions.LogoFile) : nullptr;
    if (store) picture = store->GetMipLevel(0);
  } catch (const EKivError& error) {
    Log().Write(std::string("TThirdSlide: the logo cannot be read: ") + error.what());
  }
  if (!picture) {
    Log().Write("TThirdSlide: the logo \"" + Utf16ToUtf8(FOptions.LogoFile) + "\" is left out");
    return;
  }
  FLogoSource = std::move(picture);
  PlaceLogo();
}

void TThirdSlide::PlaceLogo() {
  FLogo.Picture.reset();  // a store the drawer made for the old picture goes with it
  FLogo.Store.reset();
  if (!FLogoSource) return;
  TScaledLogo logo = ScaleLogo(*FLogoSource, int32_t(std::lround(FOptions.LogoSize * FLayer.Height() / 100)));
  if (!logo.Picture) return;
  const TPixelSize size{logo.Picture->Width(), logo.Picture->Height()};
  FLogo.Rect = TOverlayPlacement::At(FOptions.LogoPosition, FOptions.LogoOffset).Place(size, {0, 0, FLayer.Width(), FLayer.Height()});
  FLogo.Opacity = float(FOptions.LogoOpacity);
  FLogo.Picture = std::make_unique<TWrapperBitmapStore>(std::move(logo.Picture));
}

// Another size lays the logo and the panel out anew.
void TThirdSlide::SetLayer(const TRect& area) {
  if (area == FLayer) return;
  const bool resized = area.Width() != FLayer.Width() || area.Height() != FLayer.Height();
  FLayer = area;
  if (!resized) return;
  PlaceLogo();
  if (FPanel) FPanel->LayOut({area.Width(), area.Height()}, FDesign);
  // Open dialogs fill the new area as a dialog opened now would.
  for (size_t i = 0; i < FDialogs.Count(); ++i) {
    TKivDialog& dialog = FDialogs.At(i);
    dialog.SetSize({float(area.Width()), float(area.Height())});
    dialog.SetCentre(area.Width() / 2.0f, area.Height() / 2.0f);
    dialog.SetContentChanged();
  }
  FChanged = true;
}

void TThirdSlide::Update(double showTime) {
  FShowClock.Set(showTime);
  if (FDialogs.Update()) FChanged = true;
  // A dialog's objects are placed anew when its fade moved or its looks changed.
  for (size_t i = 0; i < FDialogs.Count(); ++i) FDialogs.At(i).Advance(true, 0);
  if (!FPanel) return;
  FPanel->Tick(showTime);
  if (FPanel->PictureVersion() != FPanelVersion) FChanged = true;
  if (!FOptions.AutoHide) return;
  // The fade-out runs from when the pointer began to rest, or left the panel after that.
  if (FPanel->HasMouse()) FPanelLastHeld = FPanelOnShowTime ? FShowClock.NowMs() : Clock().NowMs();
  const uint32_t since = int32_t(FPanelLastHeld - FDetector.RestingSince()) > 0 ? FPanelLastHeld : FDetector.RestingSince();
  if (FFader.Update(FDetector.Resting() && !FPanel->HasMouse(), since)) FChanged = true;
}

void TThirdSlide::OpenDialog(std::u16string_view name) {
  if (!FProducer) FProducer = std::make_unique<TSlideProducer>(FSource, StandardObjectKinds(), InstallStandardPictureProviders);
  FProducer->SetOutput({FLayer.Width(), FLayer.Height()}, TSlideFit::Inside, 100, 100);
  std::unique_ptr<TKivDialog> dialog = FProducer->MakeDialog(name);
  if (!dialog) {
    Log().Write("TThirdSlide: the show has no dialog \"" + Utf16ToUtf8(name) + "\"");
    return;
  }
  PrepareNow(*dialog);
  FDialogs.Open(std::move(dialog));
  FChanged = true;
}

void TThirdSlide::CloseDialog(int) {
  FDialogs.CloseAt(-1);
  FChanged = true;
}

TDrawItem* TThirdSlide::Item() {
  // Dialogs that left are drawn once more: their device objects go back then.
  return FLogo.Picture || FPanel || !FDialogs.Empty() || FDialogs.HasRemoved() ? this : nullptr;
}

bool TThirdSlide::NeedsRedraw() const {
  if (FChanged) return true;
  for (size_t i = 0; i < FDialogs.Count(); ++i)
    if (FDialogs.At(i).NeedsRedraw()) return true;
  return false;
}

int32_t TThirdSlide::PanelState() const {
  if (!FPanel) return 0;
  if (FPanel->HasMouse()) return 2;
  return FOptions.AutoHide && FFader.Hidden() ? 0 : 1;
}

THitResult TThirdSlide::HitTest(const TKivMouseRecord& mouse) {
  FDetector.Move(mouse.X, mouse.Y);
  const int32_t x = int32_t(std::clamp(int64_t(mouse.X) - FLayer.Left, int64_t(INT32_MIN), int64_t(INT32_MAX)));
  const int32_t y = int32_t(std::clamp(int64_t(mouse.Y) - FLayer.Top, int64_t(INT32_MIN), int64_t(INT32_MAX)));
  THitResult hit;
  if (FPanel && !(FOptions.AutoHide && FFader.Hidden() && !FPanel->HasMouse())) {
    int32_t kind = kNavMouseMove;
    if (mouse.Event == TMouseEvent::Press || mouse.Event == TMouseEvent::DoubleClick) kind = kNavMouseDown;
    if (mouse.Event == TMouseEvent::Release) kind = kNavMouseUp;
    const TNavPanelAnswer answer = FPanel->Mouse(kind, mouse.Button, x, y);
    if (FPanel->PictureVersion() != FPanelVersion) FChanged = true;
    if (answer.HasMouse || answer.Action.Type != kActionNone) {
      hit.Kind = THitKind::NavPanel;
      hit.ClassName = "NavPanel";
      hit.Fire = answer.Action;
      hit.Taken = true;
    }
  }
  const THitResult onDialog = DialogHit(mouse, x, y, hit.Kind == THitKind::None);
  return hit.Kind == THitKind::None ? onDialog : hit;
}

// Only the top dialog, while it is not closing and nothing above it has the pointer,
// takes it; the others only drop their looks. Each object of the top dialog takes a
// press, so that the show's own mouse action does not run as well.
THitResult TThirdSlide::DialogHit(const TKivMouseRecord& mouse, int32_t x, int32_t y, bool enabled) {
  TSlidePointer pointer;
  pointer.Kind = mouse.Event == TMouseEvent::Move      ? TPointerKind::Move
                 : mouse.Event == TMouseEvent::Release ? TPointerKind::Release
                                                       : TPointerKind::Press;
  pointer.Button = mouse.Button;
  pointer.X = float(x);
  pointer.Y = float(y);
  pointer.State = mouse.KeyState;
  TSlidePointerResult found;
  const bool topTakes = enabled && !FDialogs.Empty() && !FDialogs.Closing(FDialogs.Count() - 1);
  for (size_t i = FDialogs.Count(); i-- > 0;) {
    const bool top = i + 1 == FDialogs.Count();
    pointer.Enabled = top && enabled && !FDialogs.Closing(i);
    const TSlidePointerResult result = PointerOnSlide(FDialogs.At(i), pointer);
    if (top && pointer.Enabled) found = result;
  }
  // A dialog is as large as its objects: around them the pointer reaches the show,
  // except under a dialog that holds the show, which takes the pointer wherever it is.
  if (!found.Object || !found.Object->Parent()) {
    const bool holds = topTakes && FDialogs.At(FDialogs.Count() - 1).PausesShow();
    return holds ? THitResult{THitKind::Object, {}, "TKivDialog", {}, true} : THitResult{};
  }
  const auto resolve = [this](const TKivActionInfo& action) {
    return ResolveSlideName(action, [this](std::u16string_view name) { return SlideIndexByName(FSource.Slides(), name); });
  };
  return {THitKind::Object, resolve(found.Action), found.Object->Kind() == u"button" ? "TKivButton" : "TKivObject",
          resolve(found.Reported), true};
}

void TThirdSlide::DrawEntry(TDeviceDrawer& drawer, TThirdSlideEntry& entry) {
  if (!entry.Picture || entry.Opacity <= 0 || entry.Rect.IsEmpty()) return;
  TImageDraw image;
  image.Picture = entry.Picture.get();
  image.Store = &entry.Store;
  image.Place = {{float(entry.Rect.Left), float(entry.Rect.Top), 0},
                 {float(entry.Rect.Width()), 0, 0},
                 {0, float(entry.Rect.Height()), 0}};
  image.Params.Opacity = entry.Opacity;
  drawer.DrawImage(image);
}

// The panel's picture is taken again whenever the bar painted it anew.
void TThirdSlide::Draw(TDeviceDrawer& drawer) {
  for (const std::unique_ptr<TKivDialog>& gone : FDialogs.TakeRemoved()) gone->ReleaseDeviceObjects(drawer);
  for (size_t i = 0; i < FDialogs.Count(); ++i) {
    TKivDialog& dialog = FDialogs.At(i);
    if (dialog.Fade() > 0) drawer.Draw(dialog);
    dialog.Snapshot(true);
  }
  DrawEntry(drawer, FLogo);
  if (FPanel && FPanel->Picture()) {
    if (!FPanelEntry.Picture || FPanel->PictureVersion() != FPanelVersion) {
      if (FPanelEntry.Store) drawer.FreeImageStore(FPanelEntry.Store);
      FPanelEntry.Picture = std::make_unique<TWrapperBitmapStore>(ConvertBitmap(*FPanel->Picture(), TPixelFormat::Bgra32));
      FPanelVersion = FPanel->PictureVersion();
    }
    FPanelEntry.Rect = FPanel->Rect();
    FPanelEntry.Opacity = float(PanelOpacity());
    DrawEntry(drawer, FPanelEntry);
  }
  FChanged = false;
}

}  // namespace kiv
