#include "model/kiv_slide.h"

#include <limits>

#include "model/slide_host.h"

namespace kiv {

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

}  // namespace kiv
