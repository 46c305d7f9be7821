#pragma once
// A button skin ("btn.ini"): for each of the three looks of a button, nine parts cut
// from pictures (corners, edges and centre), and the settings of the caption.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/rect.h"
#include "ini/ini_storage.h"
#include "model/image_keys.h"

namespace kiv {

enum class TButtonState : uint8_t { Normal = 0, Hover = 1, Click = 2 };

enum class TSkinPart : uint8_t { LeftTop, Top, RightTop, Right, RightBottom, Bottom, LeftBottom, Left, Center };

// The part of a picture one skin part uses, x2 and y2 exclusive.
struct TSkinPiece {
  std::u16string PictureName;
  int32_t X1 = 0;
  int32_t Y1 = 0;
  int32_t X2 = 0;
  int32_t Y2 = 0;
  int32_t Width() const { return X2 - X1; }
  int32_t Height() const { return Y2 - Y1; }
  bool operator==(const TSkinPiece&) const = default;
};


struct TButtonSkinState {
  std::array<TSkinPiece, 9> Pieces;  // in TSkinPart order

  const TSkinPiece& Piece(TSkinPart part) const { return Pieces[size_t(part)]; }
  // Where the caption goes in a button of that size: inside the left and right edges,
  // below the top edge and above the bottom one.
  TRect CaptionArea(int32_t width, int32_t height) const;
};

struct TButtonSkin {
  std::u16string Theme;                    // the theme whose file was read
  std::array<TButtonSkinState, 3> States;  // in TButtonState order
  uint32_t TextColor = MakeColor(0, 0, 0);
  double BtnOffset = 0;    // caption offset
  double BtnMinWidth = 0;  // minimum width, %
  TFiltering Filtering = TFiltering::Default;

  const TButtonSkinState& State(TButtonState state) const { return States[size_t(state)]; }
};

// The show file that holds the skin of a theme: the skin folder prefix, the theme, "\btn.ini".
std::u16string ButtonSkinFileName(std::u16string_view pathToButtons, std::u16string_view theme);

// Reads a parsed skin file. A part is written "picture,x1,y1,x2,y2"; a missing or
// invalid number counts as 0.
TButtonSkin ReadButtonSkin(const TIniStorage& file, std::u16string_view theme);

}  // namespace kiv
