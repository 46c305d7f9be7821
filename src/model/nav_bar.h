#pragma once
// The navigation bar: a row of buttons on a grid of cells, all cut from a skin. It draws
// itself into one picture, repainting only what changed, follows the mouse through the
// hover, pressed and normal looks, and tells its owner which button was clicked.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/rect.h"
#include "graphics/bitmap.h"
#include "ini/ini_storage.h"
#include "model/bmp_cache.h"
#include "model/nav_skin.h"

namespace kiv {

enum TNavMouseKind : uint8_t { kNavMouseMove = 0, kNavMouseDown = 1, kNavMouseUp = 2 };
inline constexpr int32_t kNavLeftButton = 1;
// The widest and tallest a bar may be laid out.
inline constexpr int32_t kMaxNavBarSide = 8192;
inline constexpr uint32_t kNavMiddleFlag = 0x10;

struct TNavCell {
  std::shared_ptr<const TBitmap> Texture;  // null: the cell stays transparent
  bool Repeat = false;
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  TRect Rect() const { return {X, Y, X + Width, Y + Height}; }
};

struct TNavObject {
  TNavButtonSkin Skin;
  TNavButtonState State = kNavNormal;
  std::array<std::shared_ptr<const TBitmap>, 4> Image;
  std::array<std::shared_ptr<const TBitmap>, 4> PlayImage;
  std::array<std::shared_ptr<const TBitmap>, 4> Background;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width() const { return Skin.Background[kNavNormal].Bounds.Width(); }
  int32_t Height() const { return Skin.Background[kNavNormal].Bounds.Height(); }
  TRect Rect() const { return {Left, Top, Left + Width(), Top + Height()}; }
};

class TNavBar {
 public:
  struct TCallbacks {
    std::function<void(int32_t index)> Click;            // a button was clicked
    std::function<bool()> IsPlaying;                      // whether the show plays
    std::function<void(const TRect& dirty)> AfterPaint;  // the picture changed there
    TBmpCache::TLoader LoadImage;                         // a texture by name in the skin folder
  };

  explicit TNavBar(TCallbacks callbacks) : FCallbacks(std::move(callbacks)) {}

  // The colour shift of every piece and whether the cells are drawn; set before loading.
  void SetLook(THslShift shift, bool showBackground) {
    FShift = shift;
    FShowBackground = showBackground;
  }
  // Reads the common part and the cells; fails with EKivError on a faulty skin. ini is
  // kept, not owned, until SetButtons.
  void LoadSkin(const TIniStorage& ini);
  // Chooses the buttons (indexes into Actions()), lays out and draws; fails with EKivError.
  void SetButtons(std::span<const int32_t> indexes);
  // kind: TNavMouseKind; button 1 is the left one; x, y in bar pixels.
  void MouseEvent(int32_t kind, int32_t button, uint32_t shiftFlags, int32_t x, int32_t y);
  // Shows the Play images when the show stopped playing, and the others when it plays again.
  void UpdatePlayState();
  // Disabled buttons do not follow the mouse.
  void SetDisabled(int32_t index, bool disabled);

  const std::vector<std::u16string>& Actions() const { return FSkin.Actions; }
  // The index of name in Actions() (case ignored), or -1.
  int32_t ActionIndex(std::u16string_view name) const;
  double RecommendedScale() const { return FSkin.RecommendedScale; }
  TPixelSize Size() const { return FSize; }
  const TBitmap* Picture() const { return FPicture.get(); }
  const TNavCell& Cell(int32_t col, int32_t row) const {
    return FCells[size_t(row - 1) * size_t(FSkin.Cols) + size_t(col - 1)];
  }
  size_t ButtonCount() const { return FObjects.size(); }
  const TNavObject& Button(size_t index) const { return FObjects[index]; }
  // The button under the point, or -1.
  int32_t ButtonAt(int32_t x, int32_t y) const;

 private:
  void LayOut();
  void SetState(size_t index, TNavButtonState state);
  void MarkDirty(const TRect& rect);
  void Paint();
  void Blend(const TBitmap& piece, int32_t x, int32_t y, const TRect& clip);
  bool Inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < FSize.Width && y < FSize.Height; }
  void Move(uint32_t shiftFlags, int32_t x, int32_t y);

  TCallbacks FCallbacks;
  THslShift FShift;
  bool FShowBackground = true;
  std::unique_ptr<TBmpCache> FCache;
  const TIniStorage* FIni = nullptr;
  TNavSkin FSkin;
  std::vector<TNavCell> FCells;
  std::vector<TNavObject> FObjects;
  TPixelSize FSize;
  std::unique_ptr<TBitmap> FPicture;
  TRect FDirty;
  bool FPressing = false;
  int32_t FPressed = -1;
  bool FHover = false;
  bool FPlaying = true;
  bool FPlayKnown = false;
};

}  // namespace kiv
