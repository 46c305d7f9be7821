#pragma once
// The layer above the slides: the show's own dialogs, its logo and its navigation
// panel, which hides while the pointer rests and fades back when it moves.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "base/clock.h"
#include "engine/dialog_stack.h"
#include "engine/mouse_move_detector.h"
#include "engine/panel_fader.h"
#include "engine/third_slide.h"
#include "graphics/bitmap_store.h"
#include "ini/ini_views.h"
#include "model/nav_panel.h"
#include "model/slide_producer.h"
#include "render/drawer/device_drawer.h"
#include "render/drawer/draw_item.h"

namespace kiv {

// The keys of the show's main section that make the layer.
struct TThirdSlideOptions {
  bool Logo = false;         // "opt_logo", with a file in "opt_logo_fn"
  std::u16string LogoFile;
  int32_t LogoPosition = kCentrePosition;  // from "opt_logo_pos"
  double LogoOpacity = 100;  // %
  int32_t LogoOffset = 0;    // % of the half size
  double LogoSize = 10;      // % of the layer height
  bool Panel = false;        // "opt_fcp"
  TNavPanelOptions PanelOptions;
  bool AutoHide = false;       // "opt_hidenavbar"
  bool HideOnStartUp = false;  // "opt_nav_hideonstartup", with auto-hide only
  uint32_t HideInterval = 0;   // ms ("opt_nav_hideinterval" is in seconds)
  uint32_t FadeOut = 1000;     // ms
  uint32_t FadeIn = 500;       // ms
};

TThirdSlideOptions ReadThirdSlideOptions(const TIniIdentList& main);

// One picture of the layer and where it is drawn.
struct TThirdSlideEntry {
  std::unique_ptr<TBitmapStore> Picture;
  std::unique_ptr<TImageStore> Store;  // the drawer's, handed back through it
  TRect Rect;                          // on the layer
  float Opacity = 100;                 // %
};

class TThirdSlide : public IThirdSlide, public TDrawItem {
 public:
  // The layer of params.Source's show, params.Size big; leavePanelOut keeps the panel away.
  explicit TThirdSlide(const TThirdSlideParams& params, bool leavePanelOut = false);
  ~TThirdSlide() override;

  void Update(double showTime) override;
  bool HoldsShow() const override { return FDialogs.HoldsShow(); }
  bool IsDialogOpen() const override { return !FDialogs.Empty(); }
  // Makes the dialog of that name from the show's dialog sections and puts it on top;
  // a name without a section opens nothing.
  void OpenDialog(std::u16string_view name) override;
  // Closes the top dialog with its fade; nothing without one.
  void CloseDialog(int result) override;
  void CloseDialogsOnMove() override { FDialogs.CloseOnNavigation(); }
  // The dialogs stand at the end of their fades from the next update on.
  void EndDialogFades() { FDialogs.EndFades(); }
  // The panel first, then the top dialog, whose objects take the pointer as a slide's do.
  THitResult HitTest(const TKivMouseRecord& mouse) override;
  void SetLayer(const TRect& area) override;
  TDrawItem* Item() override;
  // The dialogs from the bottom up, then the logo and the panel.
  void Draw(TDeviceDrawer& drawer) override;

  // 0: no panel, or hidden; 1: shown; 2: the panel has the pointer.
  int32_t PanelState() const;
  double PanelOpacity() const { return FOptions.AutoHide ? FFader.Opacity() : 100; }
  const TThirdSlideEntry& Logo() const { return FLogo; }
  const TNavPanel* Panel() const { return FPanel.get(); }
  const TDialogStack& Dialogs() const { return FDialogs; }
  bool NeedsRedraw() const override;

 private:
  void LoadLogo(const TFileAccessor& files);
  void PlaceLogo();
  static void DrawEntry(TDeviceDrawer& drawer, TThirdSlideEntry& entry);
  THitResult DialogHit(const TKivMouseRecord& mouse, int32_t x, int32_t y, bool enabled);

  // The show time given to Update, as a clock.
  class TShowTimeClock : public IClock {
   public:
    uint32_t NowMs() override { return FNow; }
    void SleepMs(uint32_t) override {}
    void Set(double showTime) { FNow = uint32_t(std::clamp(showTime, 0.0, 4e9)); }

   private:
    uint32_t FNow = 0;
  };

  TKivSource& FSource;
  TThirdSlideOptions FOptions;
  bool FPanelOnShowTime;
  TShowTimeClock FShowClock;
  uint32_t FPanelLastHeld = 0;  // the panel last had the pointer then (ms, the panel's clock)
  TRect FLayer;  // on the output
  TPixelSize FDesign;
  std::shared_ptr<const TBitmap> FLogoSource;
  TThirdSlideEntry FLogo;
  std::unique_ptr<TNavPanel> FPanel;
  TThirdSlideEntry FPanelEntry;
  uint32_t FPanelVersion = 0;
  TMouseMoveDetector FDetector;
  TPanelFader FFader;
  // Makes the dialogs, on the engine's thread; made with the first dialog.
  std::unique_ptr<TSlideProducer> FProducer;
  TDialogStack FDialogs;
  bool FChanged = true;
};

}  // namespace kiv
