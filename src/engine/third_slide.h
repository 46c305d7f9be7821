#pragma once
// The overlay drawn above the slides (logo, navigation panel, the show's dialogs), as
// the engine drives it.
#include <functional>
#include <memory>
#include <string_view>

#include "engine/hit_result.h"
#include "engine/kiv_mouse.h"
#include "base/rect.h"

namespace kiv {

class TDrawItem;
class TKivSource;

class IThirdSlide {
 public:
  virtual ~IThirdSlide() = default;
  // Called every frame with the show time.
  virtual void Update(double showTime) = 0;
  // An open dialog keeps the show from running.
  virtual bool HoldsShow() const = 0;
  virtual bool IsDialogOpen() const = 0;
  virtual void OpenDialog(std::u16string_view name) = 0;
  // Closes the top dialog with result.
  virtual void CloseDialog(int result) = 0;
  // Closes the dialogs that close when the show moves to another slide.
  virtual void CloseDialogsOnMove() = 0;
  virtual THitResult HitTest(const TKivMouseRecord& mouse) = 0;
  // What is drawn above the slides (engine thread); none while the overlay shows nothing.
  virtual TDrawItem* Item() { return nullptr; }
  // The slide area's place in the output: the overlay is laid out over it, and pointer
  // positions are measured from the output's corner.
  virtual void SetLayer(const TRect& area) { (void)area; }
  // What the overlay draws changed since it was last drawn.
  virtual bool NeedsRedraw() const { return false; }
};

// What the overlay of a newly opened show is made from.
struct TThirdSlideParams {
  TKivSource* Source = nullptr;
  TPixelSize Size;
  float Volume = 1;
  double Length = 0;  // ms
  std::function<void(float volume)> SetVolume;
  std::function<void(int32_t ms)> GoToTime;
  std::function<bool()> IsPlaying;
  // The panel's rest and fades are timed on the show time rather than the process clock:
  // a frame rendered at some show time shows the panel as it is then for a viewer who has
  // not touched the mouse since the show began.
  bool PanelOnShowTime = false;
};

using TThirdSlideFactory = std::function<std::unique_ptr<IThirdSlide>(const TThirdSlideParams&)>;

}  // namespace kiv
