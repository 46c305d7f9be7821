#include "model/overlay_placement.h"

#include <array>
#include <cmath>

#include "base/text.h"

namespace kiv {
namespace {

constexpr std::array<std::u16string_view, 9> kPositionNames{u"Left-Top",     u"Top",         u"Right-Top",
                                                           u"Right",        u"Right-Bottom", u"Bottom",
                                                           u"Left-Bottom",  u"Left",        u"Center"};

int32_t Rounded(double value) { return int32_t(std::lround(value)); }

}  // namespace

TOverlayPlacement TOverlayPlacement::At(int32_t index, int32_t o) {
  switch (index) {
    case 0: return {o - 100, o - 100, -100, -100};
    case 1: return {0, o - 100, 0, -100};
    case 2: return {100 - o, o - 100, 100, -100};
    case 3: return {100 - o, 0, 100, 0};
    case 4: return {100 - o, 100 - o, 100, 100};
    case 5: return {0, 100 - o, 0, 100};
    case 6: return {o - 100, 100 - o, -100, 100};
    case 7: return {o - 100, 0, -100, 0};
    default: return {0, 0, 0, 0};
  }
}

TRect TOverlayPlacement::Place(TPixelSize size, const TRect& within) const {
  const int32_t left = Rounded((AnchorX / 100.0 + 1) * within.Width() / 2) + within.Left -
                       Rounded(size.Width * (AlignX + 100) / 200.0);
  const int32_t top = Rounded((AnchorY / 100.0 + 1) * within.Height() / 2) + within.Top -
                      Rounded(size.Height * (AlignY + 100) / 200.0);
  return {left, top, left + size.Width, top + size.Height};
}

int32_t PanelPositionIndex(std::u16string_view name) {
  for (size_t i = 0; i < kPositionNames.size(); ++i)
    if (SameTextIgnoringCase(kPositionNames[i], name)) return int32_t(i);
  return kCentrePosition;
}

int32_t LogoPositionIndex(int32_t code) {
  switch (code) {
    case 0: return 7;
    case 1: return 1;
    case 2: return 3;
    case 3: return 5;
    case 5: return 0;
    case 6: return 2;
    case 7: return 4;
    case 8: return 6;
    default: return kCentrePosition;
  }
}

}  // namespace kiv
