#pragma once
// The keys a picture object reads from its section. Texts, buttons and masks are
// pictures too and read these after (or among) their own.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ini/ini_ident_list.h"
#include "model/anim_grid.h"

namespace kiv {

// Texture sampling; "Nearest", "Bilinear" or "Default" in any case.
enum class TFiltering : uint8_t { Nearest = 0, Bilinear = 1, Default = 2 };

TFiltering ReadFiltering(const TIniIdentList& section, std::u16string_view name);

// "CropRect" and "AspectParams": a rectangle (left, top, right, bottom) and a pair of
// values. Four numbers give the rectangle with the pair (-1, -1), six give both; any
// other value leaves everything 0.
struct TRectAndPair {
  std::array<double, 4> Rect{};
  std::array<double, 2> Pair{};
  bool operator==(const TRectAndPair&) const = default;
};

TRectAndPair ReadRectAndPair(const TIniIdentList& section, std::u16string_view name);

// "R,G,B,A", or "R,G,B" with full opacity.
uint32_t ReadColorWithOptionalAlpha(const TIniIdentList& section, std::u16string_view name, uint32_t def);

struct TImageKeys {
  bool MainImage = false;  // kind word "mainimage": the slide's main picture
  bool Antialiased = true;
  TFiltering Filtering = TFiltering::Default;
  std::u16string ImageName;
  double MipLodBias = 0;
  int32_t ReplaceWithEffectBuffer = 0;  // n > 0: the slide-effect buffer n instead of a picture
  bool EnableBorder = false;
  bool EnableCrop = false;
  bool EnableAspect = false;
  double BorderWidth = 3.4;
  uint32_t BorderColor = MakeColor(255, 255, 255);
  TRectAndPair CropRect;
  TRectAndPair AspectParams;
  TAnimKeys Anim;  // "AnimColumns" … "AnimInterval"
};

// kindWord: the kind in the object's header ("image" or "mainimage", any case).
TImageKeys ReadImageKeys(const TIniIdentList& section, std::u16string_view kindWord);

// The name the picture is asked for: "SlideEffectBuffer" + n for an effect buffer,
// else "ImageName".
std::u16string PictureSourceName(const TImageKeys& keys);

}  // namespace kiv
