#pragma once
// The root of a slide's object tree: it knows the slide's times, its background and the
// show services, and gives its objects a frame with its origin at the centre of the
// slide area and unit axes.
#include <memory>

#include "graphics/bitmap_store.h"
#include "model/kiv_object.h"
#include "model/slide_background.h"
#include "model/slide_info.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

class TKivImage;

class TKivSlide : public TKivObject {
 public:
  explicit TKivSlide(TKivSlideHost& host, std::u16string guid = {});

  TKivSlide& Slide() const override { return const_cast<TKivSlide&>(*this); }
  TKivSlideHost& Host() const override { return FHost; }

  // The slide's record on the show clock; the keypoints' origins follow it.
  void SetTiming(const TSlideInfo& timing);
  const TSlideInfo& Timing() const { return FTiming; }
  double OriginTime(TKeyOrigin origin) const override;

  // The slide's place in the order the show plays its slides (0 for the first shown,
  // shuffled or not); -1 for the lead-in.
  int32_t ShowPosition() const { return FShowPosition; }
  void SetShowPosition(int32_t position) { FShowPosition = position; }
  // The slide's main picture (the first "mainimage" in tree order); none without one.
  const TKivImage* MainImage() const;

  // The point of the slide area (in the camera's pixels) where the slide's pivot lies.
  void SetCentre(float x, float y) { FCentre = {x, y, 0}; }
  // How z is scaled against x and y, set from the camera when the tree is placed:
  // 0.5 × (−camera z) / slide height for a camera in front of the screen, else 0.5.
  double DepthScale() const { return FDepthScale; }
  // What the objects' opacity is multiplied by (in %); a dialog fades with it.
  virtual float OpacityFactor() const { return 100; }

  void ReadBackground(const TIniIdentList& main, const TIniIdentList* slideSection);
  const TSlideBackground& Background() const { return FBackground; }
  // Draws the background (when one was read), then the objects.
  void Draw(TDeviceDrawer& drawer) override;
  void ReleaseDeviceObjects(TDeviceDrawer& drawer) override;
  // The background picture once resources are loaded; none for other styles.
  const std::shared_ptr<TBitmapStore>& BackgroundPicture() const { return FBackgroundPicture; }

  // Does nothing when time is the last one advanced to, nothing needs redrawing and no
  // keypoint changed.
  void Advance(bool recursive, double time) override;
  void UpdatePlacement(bool recursive) override;
  TSizeF ParentSize() const override { return Size(); }
  const TPlacementFrame& ParentFrame() const override { return Frame(); }
  void LoadResources(IPrepareContext& context) override;

  // Whether a viewport of the slide clips by masks at the last placement, so that the
  // drawer prepares its mask buffers before drawing the slide.
  bool MasksShown() const { return FMasksShown; }
  // Called by such a viewport while the tree is placed.
  void NoteMasksShown() { FMasksShown = true; }

 private:
  TKivSlideHost& FHost;
  TSlideInfo FTiming;
  int32_t FShowPosition = -1;
  TVector3 FCentre;
  double FDepthScale = 0.5;
  double FLastAdvanced;
  void DrawBackground(TDeviceDrawer& drawer);

  bool FHasBackground = false;  // dialogs show what lies behind them
  TSlideBackground FBackground;
  std::shared_ptr<TBitmapStore> FBackgroundPicture;
  std::unique_ptr<TImageStore> FBackgroundStore;
  bool FMasksShown = false;
};

}  // namespace kiv
