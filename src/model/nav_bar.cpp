#include "model/nav_bar.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text.h"
#include "graphics/pixel_blend.h"

namespace kiv {

void TNavBar::LoadSkin(const TIniStorage& ini) {
  FSkin = ReadNavSkin(ini);
  FIni = &ini;
  FCache = std::make_unique<TBmpCache>(FCallbacks.LoadImage, FShift);
  FCells.clear();
  FObjects.clear();
  for (const TNavCellSkin& skin : FSkin.Cells) {
    TNavCell& cell = FCells.emplace_back();
    cell.Repeat = skin.Repeat;
    cell.Texture = FCache->Piece(skin.Piece.File, skin.Piece.Bounds, TPieceTreatment::None);
    cell.Width = skin.Piece.Bounds.Width();
    cell.Height = skin.Piece.Bounds.Height();
  }
}

void TNavBar::SetButtons(std::span<const int32_t> indexes) {
  if (!FIni) throw EKivError("The navigation bar has no skin");
  std::vector<TNavButtonSkin> skins = ReadNavButtons(*FIni, FSkin, indexes);
  FObjects.clear();
  for (TNavButtonSkin& skin : skins) {
    TNavObject& object = FObjects.emplace_back();
    for (size_t s = 0; s < 4; ++s) {
      TPieceTreatment treatment = TPieceTreatment::None;
      if (s == kNavNormal && skin.GrayNormal) treatment = TPieceTreatment::Gray;
      if (s == kNavDisabled && skin.GrayDisabled) treatment = TPieceTreatment::GrayFaded;
      object.Image[s] = FCache->Piece(skin.Image[s].File, skin.Image[s].Bounds, treatment);
      if (skin.HasPlay) object.PlayImage[s] = FCache->Piece(skin.PlayImage[s].File, skin.PlayImage[s].Bounds, treatment);
      object.Background[s] = FCache->Piece(skin.Background[s].File, skin.Background[s].Bounds, treatment);
    }
    object.Skin = std::move(skin);
  }
  FPressing = false;
  FPressed = -1;
  LayOut();
  Paint();
}

// The cell with the buttons grows to hold them; its column and row follow it.
void TNavBar::LayOut() {
  const int32_t col = FSkin.ObjectCol, row = FSkin.ObjectRow;
  int64_t width = int64_t(FSkin.LeftOffset) + FSkin.RightOffset;
  for (const TNavObject& object : FObjects) width += int64_t(object.Width()) + object.Skin.Space;
  const int64_t height = int64_t(FSkin.TopOffset) + FSkin.BottomOffset + FObjects.front().Height();
  if (width > kMaxNavBarSide || height > kMaxNavBarSide)
    throw EKivError("The cell with the buttons would be " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, more than a picture may hold");
  for (int32_t j = 1; j <= FSkin.Rows; ++j) FCells[size_t(j - 1) * size_t(FSkin.Cols) + size_t(col - 1)].Width = int32_t(width);
  for (int32_t i = 1; i <= FSkin.Cols; ++i) FCells[size_t(row - 1) * size_t(FSkin.Cols) + size_t(i - 1)].Height = int32_t(height);

  std::vector<int64_t> xs(size_t(FSkin.Cols) + 1, 0), ys(size_t(FSkin.Rows) + 1, 0);
  for (int32_t i = 1; i <= FSkin.Cols; ++i) xs[size_t(i)] = xs[size_t(i - 1)] + Cell(i, 1).Width;
  for (int32_t j = 1; j <= FSkin.Rows; ++j) ys[size_t(j)] = ys[size_t(j - 1)] + Cell(1, j).Height;
  if (xs.back() > kMaxNavBarSide || ys.back() > kMaxNavBarSide)
    throw EKivError("The navigation bar would be " + std::to_string(xs.back()) + " x " + std::to_string(ys.back()) +
                    " pixels, more than a picture may hold");
  for (int32_t j = 1; j <= FSkin.Rows; ++j)
    for (int32_t i = 1; i <= FSkin.Cols; ++i) {
      TNavCell& cell = FCells[size_t(j - 1) * size_t(FSkin.Cols) + size_t(i - 1)];
      cell.X = int32_t(xs[size_t(i - 1)]);
      cell.Y = int32_t(ys[size_t(j - 1)]);
    }
  const TNavCell& holder = Cell(col, row);
  int32_t x = holder.X + FSkin.LeftOffset;
  for (TNavObject& object : FObjects) {
    object.Left = x;
    object.Top = holder.Y + FSkin.TopOffset;
    x += object.Width() + object.Skin.Space;
  }
  FSize = {int32_t(xs.back()), int32_t(ys.back())};
  FDirty = {0, 0, FSize.Width, FSize.Height};
}

int32_t TNavBar::ActionIndex(std::u16string_view name) const {
  for (size_t i = 0; i < FSkin.Actions.size(); ++i)
    if (SameTextIgnoringCase(FSkin.Actions[i], name)) return int32_t(i);
  return -1;
}

int32_t TNavBar::ButtonAt(int32_t x, int32_t y) const {
  for (size_t i = 0; i < FObjects.size(); ++i) {
    const TRect r = FObjects[i].Rect();
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return int32_t(i);
  }
  return -1;
}

void TNavBar::MarkDirty(const TRect& rect) {
  if (rect.IsEmpty()) return;
  FDirty = FDirty.IsEmpty() ? rect
                            : TRect{std::min(FDirty.Left, rect.Left), std::min(FDirty.Top, rect.Top),
                                    std::max(FDirty.Right, rect.Right), std::max(FDirty.Bottom, rect.Bottom)};
}

void TNavBar::SetState(size_t index, TNavButtonState state) {
  TNavObject& object = FObjects[index];
  if (object.State == state) return;
  TRect rect = object.Rect();
  if (object.State == kNavPressed || state == kNavPressed) {
    rect.Right += object.Skin.ShiftPressed;
    rect.Bottom += object.Skin.ShiftPressed;
  }
  object.State = state;
  MarkDirty(rect);
}

void TNavBar::SetDisabled(int32_t index, bool disabled) {
  if (index < 0 || size_t(index) >= FObjects.size()) return;
  if (disabled == (FObjects[size_t(index)].State == kNavDisabled)) return;
  SetState(size_t(index), disabled ? kNavDisabled : kNavNormal);
  Paint();
}

void TNavBar::MouseEvent(int32_t kind, int32_t button, uint32_t shiftFlags, int32_t x, int32_t y) {
  if (FObjects.empty()) return;
  switch (kind) {
    case kNavMouseDown: {
      if (button != kNavLeftButton || !Inside(x, y)) return;
      FPressing = true;
      FPressed = ButtonAt(x, y);
      for (size_t i = 0; i < FObjects.size(); ++i)
        if (FObjects[i].State != kNavDisabled) SetState(i, int32_t(i) == FPressed ? kNavPressed : kNavNormal);
      Paint();
      return;
    }
    case kNavMouseMove:
      Move(shiftFlags, x, y);
      return;
    case kNavMouseUp: {
      if (!Inside(x, y)) {
        if (!FHover && !FPressing) return;
        FHover = false;
      }
      if (button == kNavLeftButton && FPressing && FPressed >= 0 && ButtonAt(x, y) == FPressed &&
          FObjects[size_t(FPressed)].State != kNavDisabled) {
        const int32_t clicked = FPressed;
        FPressing = false;
        FPressed = -1;
        if (FCallbacks.Click) FCallbacks.Click(clicked);
      }
      FPressing = false;
      FPressed = -1;
      Move(shiftFlags, x, y);
      return;
    }
    default:
      return;
  }
}

void TNavBar::Move(uint32_t shiftFlags, int32_t x, int32_t y) {
  if (FPressing || Inside(x, y)) {
    if ((shiftFlags & kNavMiddleFlag) && !FPressing) return;
    FHover = true;
    const int32_t under = ButtonAt(x, y);
    for (size_t i = 0; i < FObjects.size(); ++i) {
      if (FObjects[i].State == kNavDisabled) continue;
      TNavButtonState state = kNavNormal;
      if (int32_t(i) == under) state = !FPressing ? kNavHover : int32_t(i) == FPressed ? kNavPressed : kNavNormal;
      SetState(i, state);
    }
  } else if (FHover) {
    FHover = false;
    for (size_t i = 0; i < FObjects.size(); ++i)
      if (FObjects[i].State != kNavDisabled) SetState(i, kNavNormal);
  }
  Paint();
}

void TNavBar::UpdatePlayState() {
  const bool playing = FCallbacks.IsPlaying ? FCallbacks.IsPlaying() : true;
  if (!FPlayKnown || playing != FPlaying) {
    FPlaying = playing;
    for (const TNavObject& object : FObjects)
      if (object.Skin.HasPlay) {
        MarkDirty(object.Rect());
        break;
      }
  }
  FPlayKnown = true;
  Paint();
}

// piece composited at (x, y), only inside clip.
void TNavBar::Blend(const TBitmap& piece, int32_t x, int32_t y, const TRect& clip) {
  const TRect area = Intersection({x, y, x + piece.Width(), y + piece.Height()}, clip);
  for (int32_t row = area.Top; row < area.Bottom; ++row) {
    const uint8_t* s = piece.Row(row - y) + size_t(area.Left - x) * 4;
    uint8_t* d = FPicture->Row(row) + size_t(area.Left) * 4;
    for (int32_t col = area.Left; col < area.Right; ++col, s += 4, d += 4)
      if (s[3] != 0) BlendOver(d, uint32_t(s[3]) << 24 | uint32_t(s[2]) << 16 | uint32_t(s[1]) << 8 | s[0]);
  }
}

void TNavBar::Paint() {
  const TRect dirty = Intersection(FDirty, {0, 0, FSize.Width, FSize.Height});
  FDirty = {};
  if (dirty.IsEmpty()) return;
  if (!FPicture || FPicture->Width() != FSize.Width || FPicture->Height() != FSize.Height)
    FPicture = std::make_unique<TBitmap>(FSize.Width, FSize.Height, TPixelFormat::Bgra32);
  for (int32_t y = dirty.Top; y < dirty.Bottom; ++y)
    std::fill_n(FPicture->Row(y) + size_t(dirty.Left) * 4, size_t(dirty.Width()) * 4, uint8_t(0));
  if (FShowBackground) {
    for (const TNavCell& cell : FCells) {
      const TRect clip = Intersection(cell.Rect(), dirty);
      if (clip.IsEmpty() || !cell.Texture) continue;
      const int32_t w = cell.Texture->Width(), h = cell.Texture->Height();  // never 0: pieces are checked
      for (int32_t y = cell.Y + (clip.Top - cell.Y) / h * h; y < clip.Bottom; y += h)
        for (int32_t x = cell.X + (clip.Left - cell.X) / w * w; x < clip.Right; x += w) Blend(*cell.Texture, x, y, clip);
    }
  }
  for (const TNavObject& object : FObjects) {
    const TRect shifted{object.Left, object.Top, object.Left + object.Width() + object.Skin.ShiftPressed,
                        object.Top + object.Height() + object.Skin.ShiftPressed};
    if (Intersection(shifted, dirty).IsEmpty()) continue;
    const size_t s = object.State;
    if (object.Background[s]) Blend(*object.Background[s], object.Left, object.Top, dirty);
    const auto& images = object.Skin.HasPlay && !FPlaying ? object.PlayImage : object.Image;
    if (!images[s]) continue;
    const int32_t shift = s == kNavPressed ? object.Skin.ShiftPressed : 0;
    Blend(*images[s], object.Left + (object.Width() - images[s]->Width()) / 2 + shift,
          object.Top + (object.Height() - images[s]->Height()) / 2 + shift, dirty);
  }
  if (FCallbacks.AfterPaint) FCallbacks.AfterPaint(dirty);
}

}  // namespace kiv
