#include "model/kiv_object.h"

#include <algorithm>

#include "base/errors.h"
#include "base/guid.h"
#include "base/text.h"
#include "ini/ini_sections.h"
#include "model/finite_values.h"
#include "model/hit_test.h"
#include "model/keypoint_reading.h"
#include "model/kiv_slide.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

constexpr std::u16string_view kFitModeNames[] = {u"None", u"PlaceInto", u"Cover"};
constexpr std::u16string_view kPositionModeNames[] = {u"Absolute", u"Percent"};

// "HideMode" bits: 1 hides the object when the camera is on the positive side of its
// plane (its back faces the viewer); values above 1 hide it on the negative side.
constexpr int kHideOnPositiveSide = 1;
constexpr int kMaxHideMode = 3;

std::u16string GuidOrNew(std::u16string guid) { return guid.empty() ? NewGuidText() : std::move(guid); }

TShadowParams ReadShadow(const TIniIdentList& section, bool enabledByDefault) {
  const TShadowParams defaults;
  TShadowParams shadow;
  shadow.Enabled = section.ReadBool(u"ShadowEnable", enabledByDefault);
  shadow.Size = ReadFiniteFloat(section, u"ShadowSize", defaults.Size);
  shadow.Color = section.ReadColor(u"ShadowColor", defaults.Color);
  shadow.Opacity = ReadFiniteFloat(section, u"ShadowOpacity", defaults.Opacity);
  shadow.Distance = ReadFiniteFloat(section, u"ShadowDistance", defaults.Distance);
  shadow.Angle = ReadFiniteFloat(section, u"ShadowAngle", defaults.Angle);
  shadow.SpreadIndex = section.ReadInteger(u"ShadowSpreadIndex", defaults.SpreadIndex);
  shadow.Follows3D = section.ReadBool(u"3DShadow", defaults.Follows3D);
  return shadow;
}

// Takes the previous child of that GUID and kind out of previous, or none.
std::unique_ptr<TKivObject> TakeReusable(std::vector<std::unique_ptr<TKivObject>>& previous,
                                         const std::u16string& guid, const std::u16string& kind) {
  for (std::unique_ptr<TKivObject>& child : previous)
    if (child && child->Guid() == guid && child->Kind() == kind) return std::move(child);
  return nullptr;
}

}  // namespace

TKivObject::TKivObject(TKivObject& parent, std::u16string guid)
    : FGuid(GuidOrNew(std::move(guid))), FParent(&parent), FDepth(parent.FDepth + 1) {}

TKivObject::TKivObject(std::u16string guid) : FGuid(GuidOrNew(std::move(guid))) {}

TKivObject::~TKivObject() = default;

TKivObject& TKivObject::AddChild(std::unique_ptr<TKivObject> child) {
  KIV_ASSERT(child && child->FParent == this);
  FChildren.push_back(std::move(child));
  return *FChildren.back();
}

TKivSlide& TKivObject::Slide() const {
  KIV_ASSERT(FParent);
  return FParent->Slide();
}

TKivSlideHost& TKivObject::Host() const {
  KIV_ASSERT(FParent);
  return FParent->Host();
}

void TKivObject::ReadProperties(const TIniIdentList& section) {
  FFitMode = TFitMode(section.ReadEnum(u"FitMode", kFitModeNames, int(TFitMode::PlaceInto)));
  FPosMode = TPositionMode(section.ReadEnumExact(u"PosMode", kPositionModeNames, int(TPositionMode::Percent)));
  FCenterMode = TPositionMode(section.ReadEnumExact(u"CenterMode", kPositionModeNames, int(TPositionMode::Percent)));
  FDeltaTime1 = ReadShowTime(section, u"DeltaTime1", 0);
  FDeltaTime2 = ReadShowTime(section, u"DeltaTime2", 0);
  FTranspForClick = section.ReadBool(u"TranspForClick", false);
  FTreeNode = section.ReadBool(u"TreeNode", true);
  KeyPoints().SetPerspectiveCorrection(section.ReadBool(u"PerspectiveCorrection", false));
  FShadow = ReadShadow(section, DefaultShadowEnable());
  int hideMode = section.ReadInteger(u"HideMode", 0);
  if (hideMode < 0 || hideMode > kMaxHideMode) hideMode = 0;
  FHidePositiveSide = (hideMode & kHideOnPositiveSide) != 0;
  FHideNegativeSide = hideMode > 1;
  FChildInvis = section.ReadBool(u"ChildInvis", false);
  FAction = section.ReadString(u"Action", u"");
  ReadChildren(section);
  // The profiles refer to the keypoints, which are read by now.
  constexpr std::pair<std::u16string_view, TSpeedGroup> kProfileKeys[] = {
      {u"PanSpeed", TSpeedGroup::Pan}, {u"RotateSpeed", TSpeedGroup::Rotate}, {u"ZoomSpeed", TSpeedGroup::Zoom}};
  for (const auto& [key, group] : kProfileKeys)
    if (section.FindIdent(key)) KeyPoints().LoadProfile(group, section.ReadString(key, u""));
  FContentChanged = true;
}

void TKivObject::ReadChildren(const TIniIdentList& section) {
  KeyPoints().Clear();
  std::vector<std::unique_ptr<TKivObject>> previous = std::move(FChildren);
  FChildren.clear();
  for (const TIniObject* item = section.FirstObject(); item; item = section.NextObject(item)) {
    std::u16string kind = LowerCase(item->GetValue());
    if (kind == u"keypoint") {
      ReadKeyPoint(*item);
      continue;
    }
    if (FDepth >= kMaxDepth) continue;
    const std::u16string guid = GuidOrNew(item->ReadString(u"GUID", u""));
    std::unique_ptr<TKivObject> child = TakeReusable(previous, guid, kind);
    if (!child) child = Host().Factories().Make(kind, *this, guid);
    if (!child) continue;
    child->FName = item->GetName();
    child->FKind = std::move(kind);
    AddChild(std::move(child)).ReadProperties(*item);
  }
}

void TKivObject::ReadKeyPoint(const TIniIdentList& section) {
  TKeyPoint& keypoint = AddKeyPointFrom(section, KeyPoints());
  ReadKeyPointValues(section);
  KeyPoints().ApplyCurrentValues(keypoint);
}

void TKivObject::ReadKeyPointValues(const TIniIdentList& section) { ReadKeyValues(section, KeyPoints().Current()); }

void TKivObject::SetSize(TSizeF size) {
  if (size == FSize) return;
  FSize = size;
  FContentChanged = true;
}

TSizeF TKivObject::ParentSize() const { return FParent ? FParent->Size() : Size(); }

const TPlacementFrame& TKivObject::ParentFrame() const { return FParent ? FParent->Frame() : Frame(); }

double TKivObject::OriginTime(TKeyOrigin origin) const { return Slide().OriginTime(origin); }

void TKivObject::SetTime(bool recursive, double time) {
  if (recursive)
    for (const std::unique_ptr<TKivObject>& child : FChildren) child->SetTime(true, time);
  KeyPoints().Evaluate(time);
  const bool active = OriginTime(TKeyOrigin::SlideBegin) + FDeltaTime1 <= time &&
                      time <= OriginTime(TKeyOrigin::SlideEnd) - FDeltaTime2;
  if (active != FActive) FPlacementChanged = true;
  FActive = active;
}

void TKivObject::UpdatePlacement(bool recursive) {
  const TKeyValues& values = Current();
  const TSizeF parentSize = ParentSize();
  const double k = FitFactor(FFitMode, FSize, parentSize);
  const TPlacementMatrix local =
      LocalAxes(values.ScaleX * k / 100, values.ScaleY * k / 100, values.Angle, values.AngleX, values.AngleY);
  const TPlacementMatrix matrix = FParent ? Compose(local, FParent->FMatrix) : local;
  const TVector3 origin = ParentFrame().PointAt(PositionVector(FPosMode, values.Position, values.ZPos, parentSize));
  ApplyPlacement(matrix, origin, recursive);
}

void TKivObject::ApplyPlacement(const TPlacementMatrix& matrix, const TVector3& origin, bool recursive) {
  FMatrix = matrix;
  const TPlacementFrame frame = MakeFrame(origin, matrix, Slide().DepthScale());
  const TPointF offset = kiv::CentreOffset(FCenterMode, Current().CenterPos, FSize);
  const std::optional<TVector3> camera = Host().Camera();
  if (camera)
    FHiddenByFacing = CameraOnPositiveSide(frame, *camera) ? FHidePositiveSide : FHideNegativeSide;
  else
    FHiddenByFacing = false;
  FHiddenWithChildren = (FChildInvis && FHiddenByFacing) || (FParent && FParent->FHiddenWithChildren);
  if (EffectiveOpacity() != FSnapshotOpacity || !frame.SamePlace(FFrame) || !(offset == FCentreOffset))
    FPlacementChanged = true;
  FFrame = frame;
  FCentreOffset = offset;
  if (recursive)
    for (const std::unique_ptr<TKivObject>& child : FChildren) child->UpdatePlacement(true);
}

void TKivObject::Advance(bool recursive, double time) {
  SetTime(recursive, time);
  UpdatePlacement(recursive);
}

void TKivObject::OriginTimesChanged() {
  KeyPoints().OriginTimesChanged();
  for (const std::unique_ptr<TKivObject>& child : FChildren) child->OriginTimesChanged();
}

bool TKivObject::Visible() const {
  return FActive && !FHiddenByFacing && !(FParent && FParent->FHiddenWithChildren);
}

float TKivObject::EffectiveOpacity() const { return Slide().OpacityFactor() * Current().Opacity / 100; }

bool TKivObject::NeedsRedraw() const {
  return FContentChanged || FPlacementChanged ||
         std::any_of(FChildren.begin(), FChildren.end(), [](const auto& child) { return child->NeedsRedraw(); });
}

bool TKivObject::KeyPointsChanged() const {
  return KeyPoints().AnyChanged() ||
         std::any_of(FChildren.begin(), FChildren.end(), [](const auto& child) { return child->KeyPointsChanged(); });
}

void TKivObject::Snapshot(bool recursive) {
  FSnapshotOpacity = EffectiveOpacity();
  FContentChanged = false;
  FPlacementChanged = false;
  KeyPoints().SetAllChanged(false);
  if (recursive)
    for (const std::unique_ptr<TKivObject>& child : FChildren) child->Snapshot(true);
}

void TKivObject::Prepare(IPrepareContext& context) {
  const TSizeF before = FSize;
  try {
    LoadResources(context);
  } catch (const std::exception&) {
    // The object shows nothing; the rest of the slide goes on.
  }
  Snapshot(false);
  // A picture that arrived after the slide was advanced changed the size: the placement
  // made then is stale, and the slide must place the tree again even at the same time.
  if (FSize != before) FContentChanged = true;
  for (const std::unique_ptr<TKivObject>& child : FChildren) context.Add(*child);
}

void TKivObject::LoadResources(IPrepareContext&) {}

void TKivObject::Draw(TDeviceDrawer& drawer) {
  for (const std::unique_ptr<TKivObject>& child : FChildren) child->Draw(drawer);
}

void TKivObject::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  for (const std::unique_ptr<TKivObject>& child : FChildren) child->ReleaseDeviceObjects(drawer);
}

void TKivObject::Broadcast(int value) {
  for (const std::unique_ptr<TKivObject>& child : FChildren) child->Broadcast(value);
}

bool TKivObject::HitTest(float x, float y) const {
  const std::optional<TVector3> camera = Host().Camera();
  if (!camera) return false;
  const std::optional<TPointF> point = ScreenPointOnPlane(FFrame, *camera, x, y);
  return point && FCentreOffset.X <= point->X && point->X <= FCentreOffset.X + FSize.Width &&
         FCentreOffset.Y <= point->Y && point->Y <= FCentreOffset.Y + FSize.Height;
}

bool TKivObject::AcceptsClick() const {
  const auto& filter = Host().HitFilter();
  return !filter || filter(*this);
}

TKivObject* TKivObject::FindAt(float x, float y, const TObjectFilter& filter) {
  if (FHiddenWithChildren) return nullptr;
  for (auto child = FChildren.rbegin(); child != FChildren.rend(); ++child)
    if (TKivObject* found = (*child)->FindAt(x, y, filter)) return found;
  if (Visible() && HitTest(x, y) && AcceptsClick() && (!filter || filter(*this))) return this;
  return nullptr;
}

TKivObject* TKivObject::ObjectAt(float x, float y, bool deep) {
  if (deep) return FindAt(x, y, nullptr);
  return HitTest(x, y) ? this : nullptr;
}

}  // namespace kiv
