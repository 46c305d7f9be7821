#pragma once
// The description of a navigation bar skin: a grid of cells cut from textures, the cell
// that holds the buttons, and per button its images and background for each state. Every
// number is checked as it is read, so that a damaged skin is refused with a message
// instead of being laid out into a picture that cannot be made.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/rect.h"
#include "ini/ini_storage.h"

namespace kiv {

// The most cells a skin's grid may have in either direction.
inline constexpr int32_t kMaxNavGridSide = 64;

enum TNavButtonState : uint8_t { kNavNormal = 0, kNavHover = 1, kNavPressed = 2, kNavDisabled = 3 };

// A piece of a texture file: the file (relative to the skin folder) and the rectangle.
struct TNavPiece {
  std::u16string File;
  TRect Bounds;
  bool operator==(const TNavPiece&) const = default;
};

struct TNavCellSkin {
  bool Repeat = false;
  TNavPiece Piece;
};

struct TNavButtonSkin {
  std::u16string Name;  // the action name, lower case
  int32_t ActionType = 0;
  std::u16string ActionText;
  std::array<TNavPiece, 4> Image;       // by TNavButtonState
  std::array<TNavPiece, 4> PlayImage;   // shown while the show is not playing
  bool HasPlay = false;
  std::array<TNavPiece, 4> Background;  // by TNavButtonState; the normal one sizes the button
  int32_t ShiftPressed = 0;
  int32_t Space = 0;
  bool GrayNormal = false;
  bool GrayDisabled = false;
};

struct TNavSkin {
  double RecommendedScale = 8;
  int32_t Cols = 0;
  int32_t Rows = 0;
  int32_t ObjectCol = 0;  // 1-based
  int32_t ObjectRow = 0;
  int32_t LeftOffset = 0;
  int32_t TopOffset = 0;
  int32_t RightOffset = 0;
  int32_t BottomOffset = 0;
  int32_t Count = 0;                  // "Count" of "Objects"
  std::vector<TNavCellSkin> Cells;    // row by row
  std::vector<std::u16string> Actions;  // the skin's action list, lower case, in section order

  const TNavCellSkin& Cell(int32_t col, int32_t row) const { return Cells[size_t(row - 1) * size_t(Cols) + size_t(col - 1)]; }
};

// Items of a comma-separated list, each trimmed; a comma inside double quotes does not
// split (the quotes stay).
std::vector<std::u16string> SplitNavList(std::u16string_view text);

// The common part and the cells of a skin; fails with EKivError on a fault.
TNavSkin ReadNavSkin(const TIniStorage& ini);

// The buttons the owner chose (indexes into skin.Actions), as many as "Count" allows;
// fails with EKivError on a fault, and when no button is left.
std::vector<TNavButtonSkin> ReadNavButtons(const TIniStorage& ini, const TNavSkin& skin, std::span<const int32_t> chosen);

}  // namespace kiv
