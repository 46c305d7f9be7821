#include "model/keypoint_list.h"

#include <algorithm>

#include "base/errors.h"

namespace kiv {

namespace {

using TField = float& (*)(TKeyValues&);

constexpr std::array<TField, 3> kPanFields = {
    [](TKeyValues& v) -> float& { return v.Position.X; },
    [](TKeyValues& v) -> float& { return v.Position.Y; },
    [](TKeyValues& v) -> float& { return v.ZPos; },
};
constexpr std::array<TField, 2> kZoomFields = {
    [](TKeyValues& v) -> float& { return v.ScaleX; },
    [](TKeyValues& v) -> float& { return v.ScaleY; },
};
constexpr std::array<TField, 3> kRotateFields = {
    [](TKeyValues& v) -> float& { return v.Angle; },
    [](TKeyValues& v) -> float& { return v.AngleX; },
    [](TKeyValues& v) -> float& { return v.AngleY; },
};

float Lerp(double a, double b, double fraction) { return float(a + (b - a) * fraction); }

// The fraction that makes a zoom from one scale to another seem to move at a constant
// speed in depth: 100 % to 200 % reaches 133 % halfway, not 150 %. Scales are never
// below TKeyPoint::kMinScale, so the denominator stays positive for fractions 0 … 1.
double PerspectiveFraction(double fraction, double fromScale, double toScale) {
  if (toScale == 0) return fraction;
  const double ratio = fromScale / toScale;
  return fraction * ratio / (1 - fraction * (1 - ratio));
}

bool Earlier(const std::unique_ptr<TKeyPoint>& a, const std::unique_ptr<TKeyPoint>& b) {
  const double ta = a->AbsoluteTime(), tb = b->AbsoluteTime();
  return ta < tb || (ta == tb && a->Serial() < b->Serial());
}

}  // namespace

double TKeyPointList::OriginTime(TKeyOrigin) const { return 0; }

TKeyPoint& TKeyPointList::AddKeyPoint(TKeyOrigin origin, double time) {
  auto keypoint = std::make_unique<TKeyPoint>(*this, FNextSerial++, origin, time);
  const auto place = std::upper_bound(FKeyPoints.begin(), FKeyPoints.end(), keypoint, Earlier);
  const int32_t integerTime = keypoint->IntegerTime();
  TKeyPoint& added = **FKeyPoints.insert(place, std::move(keypoint));
  for (const std::unique_ptr<TSpeedStorage>& profile : FProfiles)
    if (profile) profile->AddKey(integerTime);
  return added;
}

void TKeyPointList::Delete(int index) {
  KIV_ASSERT(index >= 0 && index < Count());
  FKeyPoints.erase(FKeyPoints.begin() + index);
  for (const std::unique_ptr<TSpeedStorage>& profile : FProfiles)
    if (profile) profile->RemoveKeyAt(index);
}

void TKeyPointList::Clear() {
  FKeyPoints.clear();
  for (std::unique_ptr<TSpeedStorage>& profile : FProfiles) profile.reset();
  FProfilesChanged = true;
}

void TKeyPointList::KeyPointMoved() {
  std::sort(FKeyPoints.begin(), FKeyPoints.end(), Earlier);
  const std::vector<int32_t> times = IntegerTimes();
  for (const std::unique_ptr<TSpeedStorage>& profile : FProfiles)
    if (profile && profile->Keys() != times) profile->SetKeys(times);
}

std::vector<int32_t> TKeyPointList::IntegerTimes() const {
  std::vector<int32_t> times;
  times.reserve(FKeyPoints.size());
  for (const std::unique_ptr<TKeyPoint>& keypoint : FKeyPoints) times.push_back(keypoint->IntegerTime());
  return times;
}

bool TKeyPointList::AnyChanged() const {
  return FProfilesChanged ||
         std::any_of(FKeyPoints.begin(), FKeyPoints.end(), [](const auto& keypoint) { return keypoint->Changed(); });
}

void TKeyPointList::SetAllChanged(bool changed) {
  for (const std::unique_ptr<TKeyPoint>& keypoint : FKeyPoints) keypoint->SetChanged(changed);
  FProfilesChanged = changed;
}

const TSpeedStorage& TKeyPointList::Profile(TSpeedGroup group) {
  if (!FProfiles[size_t(group)]) Install(group, ProfileFromKeyPoints());
  return *FProfiles[size_t(group)];
}

bool TKeyPointList::LoadProfile(TSpeedGroup group, std::u16string_view text) {
  auto profile = std::make_unique<TSpeedStorage>();
  const bool taken = profile->FromText(text) && int(profile->Keys().size()) == Count();
  if (taken) {
    std::vector<int32_t> times = IntegerTimes();
    if (profile->Keys() != times) profile->SetKeys(std::move(times));
  } else {
    profile = ProfileFromKeyPoints();
  }
  Install(group, std::move(profile));
  FProfilesChanged = true;
  return taken;
}

std::unique_ptr<TSpeedStorage> TKeyPointList::ProfileFromKeyPoints() const {
  auto profile = std::make_unique<TSpeedStorage>();
  for (int32_t time : IntegerTimes()) profile->AddKey(time);
  return profile;
}

void TKeyPointList::Install(TSpeedGroup group, std::unique_ptr<TSpeedStorage> profile) {
  profile->SetChangeHook([this] { FProfilesChanged = true; });
  FProfiles[size_t(group)] = std::move(profile);
}

void TKeyPointList::Evaluate(double time) {
  FLastTime = time;
  FInside = OriginTime(TKeyOrigin::SlideBegin) <= time && time <= OriginTime(TKeyOrigin::SlideEnd);
  if (FKeyPoints.empty()) return;
  const auto after = std::upper_bound(FKeyPoints.begin(), FKeyPoints.end(), time,
                                      [](double t, const auto& keypoint) { return t < keypoint->AbsoluteTime(); });
  if (after == FKeyPoints.begin()) {
    FCurrent = FKeyPoints.front()->Values();
    return;
  }
  if (after == FKeyPoints.end()) {
    FCurrent = FKeyPoints.back()->Values();
    return;
  }
  const TKeyPoint& a = **(after - 1);
  const TKeyPoint& b = **after;
  const double ta = a.AbsoluteTime(), tb = b.AbsoluteTime();
  const double fraction = tb - ta > 0 ? (time - ta) / (tb - ta) : 0;
  const TKeyValues& va = a.Values();
  const TKeyValues& vb = b.Values();
  FCurrent = va;
  FCurrent.Opacity = Lerp(va.Opacity, vb.Opacity, fraction);
  FCurrent.Blur = Lerp(va.Blur, vb.Blur, fraction);
  FCurrent.CenterPos = {Lerp(va.CenterPos.X, vb.CenterPos.X, fraction), Lerp(va.CenterPos.Y, vb.CenterPos.Y, fraction)};
  const double corrected = FPerspectiveCorrection ? PerspectiveFraction(fraction, va.ScaleX, vb.ScaleX) : fraction;
  BlendGroup(TSpeedGroup::Rotate, time, fraction, kRotateFields, va, vb);
  BlendGroup(TSpeedGroup::Zoom, time, corrected, kZoomFields, va, vb);
  BlendGroup(TSpeedGroup::Pan, time, corrected, kPanFields, va, vb);
}

template <size_t N>
void TKeyPointList::BlendGroup(TSpeedGroup group, double time, double fraction, const std::array<TField, N>& fields,
                               TKeyValues a, TKeyValues b) {
  const TInterval* run = EasingInterval(group, time);
  if (!run) {
    for (TField field : fields) field(FCurrent) = Lerp(field(a), field(b), fraction);
    return;
  }
  const TKeyPoint& from = *FKeyPoints[size_t(run->From)];
  const TKeyPoint& to = *FKeyPoints[size_t(run->To)];
  const bool perspective = FPerspectiveCorrection && group != TSpeedGroup::Rotate;
  const double elapsed = (perspective ? PerspectiveTime(time, from, to) : time) - from.AbsoluteTime();
  const double length = double(to.IntegerTime()) - double(from.IntegerTime());
  TKeyValues start = from.Values(), end = to.Values();
  for (TField field : fields) {
    SetupMotion(field(start), field(end), run->S1 * length, (run->S2 - run->S1) * length, (1 - run->S2) * length);
    field(FCurrent) = float(MotionValue(elapsed));
  }
}

const TInterval* TKeyPointList::EasingInterval(TSpeedGroup group, double time) const {
  const std::unique_ptr<TSpeedStorage>& profile = FProfiles[size_t(group)];
  if (!profile) return nullptr;
  for (const TInterval& run : profile->Intervals()) {
    const double start = FKeyPoints[size_t(run.From)]->AbsoluteTime();
    if (time < start) return nullptr;
    if (time <= FKeyPoints[size_t(run.To)]->AbsoluteTime()) return run.Eases() ? &run : nullptr;
  }
  return nullptr;
}

double TKeyPointList::PerspectiveTime(double time, const TKeyPoint& from, const TKeyPoint& to) const {
  const double start = from.AbsoluteTime(), end = to.AbsoluteTime();
  if (to.Values().ScaleX == 0 || end == start) return time;
  const double progress = (time - start) / (end - start);
  if (!(progress > 0 && progress < 1)) return time;
  return start + (end - start) * PerspectiveFraction(progress, from.Values().ScaleX, to.Values().ScaleX);
}

}  // namespace kiv
