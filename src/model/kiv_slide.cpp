#include "model/kiv_slide.h"

#include <limits>

#include "model/kiv_image.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

const TKivImage* FirstMainImage(const TKivObject& object) {
  for (const std::unique_ptr<TKivObject>& child : object.Children()) {
    if (child->Kind() == u"mainimage")
      if (const auto* image = dynamic_cast<const TKivImage*>(child.get())) return image;
    if (const TKivImage* inner = FirstMainImage(*child)) return inner;
  }
  return nullptr;
}

}  // namespace

const TKivImage* TKivSlide::MainImage() const { return FirstMainImage(*this); }

TKivSlide::TKivSlide(TKivSlideHost& host, std::u16string guid)
    : TKivObject(std::move(guid)), FHost(host), FLastAdvanced(std::numeric_limits<double>::quiet_NaN()) {}

void TKivSlide::SetTiming(const TSlideInfo& timing) {
  FTiming = timing;
  OriginTimesChanged();
}

double TKivSlide::OriginTime(TKeyOrigin origin) const {
  switch (origin) {
    case TKeyOrigin::SlideBegin:
      return FTiming.StartTime;
    case TKeyOrigin::PrevEffectEnd:
      return FTiming.StartTime + FTiming.EffectInTime;
    case TKeyOrigin::NextEffectBegin:
      return FTiming.EndTime;
    case TKeyOrigin::SlideEnd:
      return FTiming.EndTime + FTiming.EffectOutTime;
  }
  return FTiming.StartTime;
}

void TKivSlide::ReadBackground(const TIniIdentList& main, const TIniIdentList* slideSection) {
  FHasBackground = true;
  FBackground = ReadSlideBackground(main, slideSection);
  FBackgroundPicture.reset();
  SetContentChanged();
}

void TKivSlide::Advance(bool recursive, double time) {
  if (time == FLastAdvanced && !NeedsRedraw() && !KeyPointsChanged()) return;
  FLastAdvanced = time;
  TKivObject::Advance(recursive, time);
}

void TKivSlide::UpdatePlacement(bool recursive) {
  const std::optional<TVector3> camera = FHost.Camera();
  const float height = Size().Height;
  FDepthScale = camera && camera->Z < 0 && height > 0 ? 0.5 * -camera->Z / height : 0.5;
  if (recursive) FMasksShown = false;  // the viewports tell again while they are placed
  ApplyPlacement(kIdentityPlacement, FCentre, recursive);
}

void TKivSlide::LoadResources(IPrepareContext&) {
  if (FBackground.Style == TBackgroundStyle::Picture && !FBackgroundPicture)
    FBackgroundPicture = FHost.LoadPicture(FBackground.PictureName);
}

void TKivSlide::Draw(TDeviceDrawer& drawer) {
  if (FHasBackground) DrawBackground(drawer);
  TKivObject::Draw(drawer);
}

void TKivSlide::DrawBackground(TDeviceDrawer& drawer) {
  const TSizeF size = Size();
  const TPlacementFrame& frame = Frame();
  // The whole slide, from its top-left corner (the slide's pivot is its centre).
  const TQuadPlace slide{frame.PointAt({-size.Width / 2, -size.Height / 2, 0}), frame.AxisX * size.Width,
                         frame.AxisY * size.Height};
  drawer.DrawBox(slide, BackgroundBox(FBackground));
  if (FBackground.Style != TBackgroundStyle::Picture || !FBackgroundPicture) return;
  const TBitmapStore& picture = *FBackgroundPicture;
  const TBackgroundFit fit = FitBackground({float(picture.Width()), float(picture.Height())}, size, FBackground.SizePercent);
  TImageDraw image;
  image.Picture = &picture;
  image.Store = &FBackgroundStore;
  image.Place = {frame.PointAt({-fit.Size.Width / 2, -fit.Size.Height / 2, 0}), frame.AxisX * fit.Size.Width,
                 frame.AxisY * fit.Size.Height};
  image.Params.Level = fit.Halvings;
  drawer.DrawImage(image);
}

void TKivSlide::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  if (FBackgroundStore) drawer.FreeImageStore(FBackgroundStore);
  TKivObject::ReleaseDeviceObjects(drawer);
}

}  // namespace kiv
