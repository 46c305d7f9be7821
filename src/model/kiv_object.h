#pragma once
// A visual object of a slide: it reads its keys, keypoints and children from its object
// in the project, follows its keypoints in time, is placed in the slide space relative
// to its parent, and can be found under a screen point. The kinds (pictures, texts,
// boxes ...) derive from it, reading more keys and loading what they show; the slide
// is the root of the tree.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ini/ini_ident_list.h"
#include "ini/ini_values.h"
#include "model/kiv_params.h"
#include "model/object_placement.h"

namespace kiv {

class TKivObject;
class TKivSlide;
class TKivSlideHost;

// Collects the objects whose resources are to be loaded, so that the loader can spread
// the work over time.
class IPrepareContext {
 public:
  virtual void Add(TKivObject& object) = 0;

 protected:
  ~IPrepareContext() = default;
};

// Accepts or refuses an object found under a screen point.
using TObjectFilter = std::function<bool(const TKivObject&)>;

// The drop shadow an object casts ("ShadowEnable" …). Drawing it belongs to the drawer.
struct TShadowParams {
  bool Enabled = false;
  float Size = 16;
  uint32_t Color = MakeColor(0, 0, 0);
  float Opacity = 59;  // %
  float Distance = 1.5f;
  float Angle = 45;  // degrees
  int32_t SpreadIndex = 0;
  bool Follows3D = false;  // "3DShadow": the offset lies in the object's own plane
};

class TKivObject : public TKivParams {
 public:
  // Children deeper than this are not read, so that a damaged project cannot exhaust
  // the stack.
  static constexpr int kMaxDepth = 64;

  // An object below parent, which adopts it with AddChild. An empty guid gets a new one.
  TKivObject(TKivObject& parent, std::u16string guid);
  ~TKivObject() override;

  // --- The tree.
  TKivObject* Parent() const { return FParent; }
  const std::vector<std::unique_ptr<TKivObject>>& Children() const { return FChildren; }
  // Appends a child made with this object as its parent.
  TKivObject& AddChild(std::unique_ptr<TKivObject> child);
  // The root of the tree and the show services it was made with.
  virtual TKivSlide& Slide() const;
  virtual TKivSlideHost& Host() const;
  // Levels below the slide (the slide is 0).
  int Depth() const { return FDepth; }

  // --- What the project says.
  const std::u16string& Name() const { return FName; }  // from the object's header line
  const std::u16string& Guid() const { return FGuid; }
  const std::u16string& Kind() const { return FKind; }  // the kind word, lower-cased
  const std::u16string& Action() const { return FAction; }
  bool TranspForClick() const { return FTranspForClick; }
  bool TreeNode() const { return FTreeNode; }
  const TShadowParams& Shadow() const { return FShadow; }
  TFitMode FitMode() const { return FFitMode; }
  TPositionMode PosMode() const { return FPosMode; }
  TPositionMode CenterMode() const { return FCenterMode; }
  double DeltaTime1() const { return FDeltaTime1; }
  double DeltaTime2() const { return FDeltaTime2; }
  bool ChildInvis() const { return FChildInvis; }

  // The common keys in their order, the children and keypoints after "Action", then the
  // three speed profiles. Kinds read their own keys and call this. Bad values take the
  // defaults; nothing here fails.
  virtual void ReadProperties(const TIniIdentList& section);
  // The keypoints and child objects of section, in order. Children of a re-read object
  // are reused when GUID and kind match; the others are made through the host's factory
  // chain (unknown kinds are skipped) and the children not reused are freed.
  virtual void ReadChildren(const TIniIdentList& section);
  // The values of a keypoint object into the keypoints' current values.
  virtual void ReadKeyPointValues(const TIniIdentList& section);

  // --- Size, time and placement.
  // The own size in pixels; kinds set it from what they show.
  TSizeF Size() const { return FSize; }
  void SetSize(TSizeF size);
  virtual TSizeF ParentSize() const;
  virtual const TPlacementFrame& ParentFrame() const;
  double OriginTime(TKeyOrigin origin) const override;
  // Evaluates the keypoints at time (the children's first when recursive) and whether
  // time lies in the object's window: SlideBegin + DeltaTime1 … SlideEnd − DeltaTime2.
  virtual void SetTime(bool recursive, double time);
  // Places the object (and then its children when recursive) from its current values.
  virtual void UpdatePlacement(bool recursive);
  // SetTime, then UpdatePlacement.
  virtual void Advance(bool recursive, double time);
  // Re-sorts every keypoint list of the subtree after the slide's timing changed.
  void OriginTimesChanged();

  const TPlacementMatrix& Matrix() const { return FMatrix; }
  const TPlacementFrame& Frame() const { return FFrame; }
  // Where the top-left corner of the own picture lies from the pivot, in own pixels: a
  // point (u, v) of the picture lands at Frame().PointAt({u + x, v + y, 0}).
  TPointF CentreOffset() const { return FCentreOffset; }
  bool Active() const { return FActive; }
  // Hidden by "HideMode" for the camera's side of the object's plane.
  bool HiddenByFacing() const { return FHiddenByFacing; }
  // Hidden by "HideMode" with "ChildInvis", here or above: the subtree is not shown.
  bool HiddenWithChildren() const { return FHiddenWithChildren; }
  // Whether the object itself shows now: in its window, not hidden by facing, and not
  // in a subtree hidden by an ancestor.
  bool Visible() const;
  // The current opacity times the root's factor / 100; a parent's opacity does not
  // multiply its children's.
  virtual float EffectiveOpacity() const;

  // --- Change tracking.
  bool ContentChanged() const { return FContentChanged; }
  bool PlacementChanged() const { return FPlacementChanged; }
  void SetContentChanged() { FContentChanged = true; }
  // Either flag here or anywhere below.
  virtual bool NeedsRedraw() const;
  // The keypoints here or anywhere below changed.
  virtual bool KeyPointsChanged() const;
  // Remembers the opacity drawn and clears the changed flags (the keypoints' too).
  virtual void Snapshot(bool recursive);

  // --- Resources.
  // LoadResources (a failure leaves the object without what it shows), Snapshot(false),
  // then every child to the context.
  virtual void Prepare(IPrepareContext& context);
  // Pictures, fonts, clips of the kind; nothing here.
  virtual void LoadResources(IPrepareContext& context);
  // Passes value to every child; kinds react to the values they know.
  virtual void Broadcast(int value);

  // --- Drawing.
  // The children in order (the first is drawn first, the last on top). Kinds draw
  // themselves, then call this.
  void Draw(TDeviceDrawer& drawer) override;
  // Hands what the drawer keeps for this subtree (textures …) back to it. An object
  // has no drawer when it goes, so the drawing side calls this before it drops a slide;
  // what is not handed back is freed by its own destructor.
  virtual void ReleaseDeviceObjects(TDeviceDrawer& drawer);

  // --- Pointer.
  // Whether the ray from the host's camera through screen point (x, y) meets the own
  // picture. A flat object (not invertible) is never hit.
  virtual bool HitTest(float x, float y) const;
  // The host's hit-test filter, when one is installed.
  virtual bool AcceptsClick() const;
  // The topmost visible object under the point that the host accepts and filter (when
  // given) accepts: the children from the last (drawn on top) to the first, each deepest
  // first, then this object.
  virtual TKivObject* FindAt(float x, float y, const TObjectFilter& filter);
  // FindAt when deep, else this object when it is hit.
  virtual TKivObject* ObjectAt(float x, float y, bool deep);
  virtual void SetPressed(bool pressed) { FPressed = pressed; }
  bool Pressed() const { return FPressed; }

 protected:
  // The root: no parent.
  explicit TKivObject(std::u16string guid);
  // Stores a placement, decides visibility and whether the placement changed, and
  // places the children when recursive.
  void ApplyPlacement(const TPlacementMatrix& matrix, const TVector3& origin, bool recursive);
  // What "ShadowEnable" is when absent; texts cast a shadow unless told otherwise.
  virtual bool DefaultShadowEnable() const { return false; }

 private:
  void ReadKeyPoint(const TIniIdentList& section);

  bool FContentChanged = true;
  bool FPlacementChanged = true;
  std::u16string FName;
  std::u16string FGuid;
  std::u16string FKind;
  bool FTranspForClick = false;
  std::u16string FAction;
  TShadowParams FShadow;
  std::vector<std::unique_ptr<TKivObject>> FChildren;
  TSizeF FSize;
  bool FHidePositiveSide = false;
  bool FHideNegativeSide = false;
  bool FChildInvis = false;
  bool FTreeNode = true;
  double FDeltaTime1 = 0;
  double FDeltaTime2 = 0;
  TPlacementMatrix FMatrix = kIdentityPlacement;
  TKivObject* FParent = nullptr;
  int FDepth = 0;
  TPointF FCentreOffset;
  bool FActive = false;
  float FSnapshotOpacity = -1;  // none drawn yet
  TPlacementFrame FFrame;
  bool FHiddenByFacing = false;
  bool FHiddenWithChildren = false;
  bool FPressed = false;
  TFitMode FFitMode = TFitMode::PlaceInto;
  TPositionMode FPosMode = TPositionMode::Percent;
  TPositionMode FCenterMode = TPositionMode::Percent;
};

}  // namespace kiv
