#pragma once
// The drawing interface everything visible goes through: the slide objects draw
// themselves with these operations, the viewer draws whole frames. Places are given in
// the pixels of the slide area (x right, y down, z away from the viewer), as the object
// tree places its objects; the drawer maps them onto its content rectangle.
#include <cstdint>
#include <memory>
#include <span>

#include "base/rect.h"
#include "base/vector3.h"
#include "graphics/bitmap_store.h"

namespace kiv {

class TDrawItem;

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

class TDeviceDrawer {
 public:
  virtual ~TDeviceDrawer() = default;
  TDeviceDrawer(const TDeviceDrawer&) = delete;
  TDeviceDrawer& operator=(const TDeviceDrawer&) = delete;

  virtual bool IsReady() const = 0;
  // The outermost call frames the drawing (begin, item, end, present); nested calls
  // only draw the item.
  virtual void Draw(TDrawItem& item) = 0;

  // --- What items call.
  virtual void DrawImage(const TImageDraw& image) = 0;
  virtual void FreeImageStore(std::unique_ptr<TImageStore>& store) = 0;
  virtual void DrawBox(const TQuadPlace& place, const TBoxParams& box) = 0;
  virtual void DrawFrame(const TQuadPlace& place, const TFrameParams& frame) = 0;
  // content drawn only where the union of masks is opaque; pattern (none: the frame
  // behind) fills the content's background.
  virtual void DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks,
                               const TBitmapStore* pattern) = 0;

 protected:
  TDeviceDrawer() = default;
};

}  // namespace kiv
