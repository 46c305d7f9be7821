#pragma once
// The drawing interface everything visible goes through: the slide objects draw
// themselves with these operations, the viewer draws whole frames. Places are given in
// the pixels of the slide area (x right, y down, z away from the viewer), as the object
// tree places its objects; the drawer maps them onto its content rectangle.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "base/rect.h"
#include "base/vector3.h"
#include "graphics/bitmap_store.h"

namespace kiv {

class T3DYUV;
class TDrawFilter;
class TDrawItem;
class TKivFilter;


// A flat quad: Origin is its top-left corner, AxisX and AxisY span its whole width and
// height.
struct TQuadPlace {
  TVector3 Origin;
  TVector3 AxisX{1, 0, 0};
  TVector3 AxisY{0, 1, 0};
};

// How a picture is sampled.
enum class TSampling : uint8_t { Nearest = 0, Bilinear = 1, Default = 2 };

struct TPictureParams {
  bool Smooth = true;    // soften the picture's edges
  float Opacity = 100;   // %
  TSampling Sampling = TSampling::Default;
  int Level = 0;         // drawn from the picture's level: 1 / 2^Level of its size, same size on screen
  float MipLodBias = 0;
  int Columns = 1;       // animation grid: the picture holds Columns × Rows frames
  int Rows = 1;
  int Frame = 0;         // the frame shown, row by row
  float BorderWidth = 0; // 0: no border
  uint32_t BorderColor = 0xFFFFFFFF;
  bool Tinted = false;   // texts: the picture's alpha is drawn in TintColor
  uint32_t TintColor = 0xFFFFFFFF;
};

// What the drawer keeps for one picture object (its textures). The object owns it and
// hands it back through FreeImageStore before the object goes.
class TImageStore {
 public:
  virtual ~TImageStore() = default;
};

struct TImageDraw {
  const TBitmapStore* Picture = nullptr;
  // 1 or 2: while a custom transition draws, the picture shows the outgoing (1) or the
  // incoming (2) slide instead.
  int EffectBuffer = 0;
  std::unique_ptr<TImageStore>* Store = nullptr;  // the object's slot, filled on first draw
  TQuadPlace Place;
  TPictureParams Params;
};

// Box fill kinds: 0 … 3 diagonal gradients (colour 1 in one corner, colour 2 in the
// opposite one; the kinds rotate the corner), 4 … 7 straight gradients in four
// orientations (colour 1 on two adjacent corners), 8 colour 1 everywhere. The slide's
// boxes use 0 (top-left to bottom-right), 1 (top-right to bottom-left), 5 (vertical),
// 6 (horizontal) and 8.
struct TBoxParams {
  uint8_t Kind = 8;
  uint32_t Color1 = 0xFF000000;  // ARGB
  uint32_t Color2 = 0xFF000000;
  float Opacity = 100;  // %
  bool SoftLeft = false;
  bool SoftTop = false;
  bool SoftRight = false;
  bool SoftBottom = false;
};

struct TFrameParams {
  uint32_t Color = 0xFFFFFFFF;  // ARGB
  float Opacity = 100;          // %
  float ThicknessX = 1;         // pixels of the left and right bars
  float ThicknessY = 1;         // pixels of the top and bottom bars
  bool Soft = false;
};

// Which lines of an interlaced video frame are shown: all, or one field doubled.
enum class TFieldMode : uint8_t { Progressive = 0, EvenLines = 1, OddLines = 2 };

// Codes the frame callback is called with.
inline constexpr int kFrameBegun = 0;
inline constexpr int kFrameDrawn = 3;

class TDeviceDrawer {
 public:
  using TFrameCallback = std::function<void(int code)>;

  virtual ~TDeviceDrawer() = default;
  TDeviceDrawer(const TDeviceDrawer&) = delete;
  TDeviceDrawer& operator=(const TDeviceDrawer&) = delete;

  virtual bool IsReady() const = 0;
  // The outermost call frames the drawing (begin, item, end, present) under the
  // process-wide drawing lock; nested calls only draw the item. A failure inside the
  // item ends its drawing and is logged; the frame is still finished.
  virtual void Draw(TDrawItem& item);

  // --- What items call.
  virtual void DrawImage(const TImageDraw& image) = 0;
  virtual void FreeImageStore(std::unique_ptr<TImageStore>& store) = 0;
  virtual void DrawBox(const TQuadPlace& place, const TBoxParams& box) = 0;
  virtual void DrawFrame(const TQuadPlace& place, const TFrameParams& frame) = 0;
  // content drawn only where the union of masks is opaque; pattern (none: the frame
  // behind) fills the content's background.
  virtual void DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks,
                               const TBitmapStore* pattern) = 0;

  // --- The frame protocol, for the viewer and the items that compose a frame. This base
  // frames and nests items and keeps the places; a drawer without a device draws
  // nothing, so the drawing operations below do nothing here.

  // Called with kFrameBegun when a frame has begun and kFrameDrawn when its items are drawn.
  void SetFrameCallback(TFrameCallback callback) { FFrameCallback = std::move(callback); }
  // Starts a frame: false when nothing can be drawn in it.
  virtual bool BeginFrame();
  virtual void EndDraw();
  virtual void EndFrame() {}

  // The whole target, from (0, 0).
  const TRect& GetTargetRect() const { return FTargetRect; }
  // Where the slide area lies on the target: the rectangle given, the given size centred
  // on the target (recomputed as each frame begins), or the whole target.
  const TRect& ContentRect() const { return FContentRect; }
  void SetContentRect(const TRect& rect);
  void SetContentSize(int width, int height);
  // Moves everything drawn by offset pixels; each frame begins unmoved.
  void SetOffset(TPointF offset) { FOffset = offset; }
  TPointF Offset() const { return FOffset; }
  bool HasOffset() const { return FOffset.X != 0 || FOffset.Y != 0; }

  virtual void Clear(uint32_t, bool /*depthToo*/) {}
  // rect in target pixels; the pixels take colour as it is, alpha included.
  virtual void FillRect(uint32_t, const TRect&) {}
  // Fills the bars between the target and the content rectangle grown by one pixel with
  // colour made opaque.
  void FillBorders(uint32_t colour);

  // One frame of the change from first (outgoing) to second (incoming): with noEffect
  // or no filter the first slide alone; outside the filter's time (0 ≤ t < duration) the
  // second alone; otherwise both through the filter's transition object.
  void DrawTransition(TDrawItem& first, TDrawItem& second, bool noEffect, TKivFilter* filter);

  // The unsharp-mask pass over what is drawn between the two calls.
  virtual void BeginPostProcess() {}
  // threshold: 0 … 255; amount: percent.
  virtual void EndPostProcess(uint8_t /*threshold*/, float /*amount*/) {}

  // A holder for the frames of a video of width x height pixels; null when the drawer
  // cannot show video or the size is empty.
  virtual std::unique_ptr<T3DYUV> CreateYUV(int width, int height);
  virtual void DrawVideo(T3DYUV&, const TQuadPlace&, const TPictureParams&, TFieldMode = TFieldMode::Progressive) {}

 protected:
  TDeviceDrawer() = default;

  void SetTargetRect(const TRect& rect) { FTargetRect = rect; }
  // A place in the slide area as a place on the target.
  TVector3 ToTarget(const TVector3& point) const;
  TQuadPlace ToTarget(const TQuadPlace& place) const;
  // The transition at progress (0 ≤ progress < 1) when the filter has a transition
  // object; without effect means the outgoing slide stays until the change ends.
  virtual void DrawThroughTransition(TDrawItem& first, TDrawItem& /*second*/, TDrawFilter& /*transition*/,
                                     double /*progress*/) {
    Draw(first);
  }

 private:
  enum class TContentMode : uint8_t { WholeTarget, Given, Centred };

  TPointF FOffset;
  TRect FTargetRect;
  TRect FContentRect;
  TContentMode FContentMode = TContentMode::WholeTarget;
  int FContentWidth = 0;
  int FContentHeight = 0;
  TFrameCallback FFrameCallback;
  int FDrawDepth = 0;
};

}  // namespace kiv
