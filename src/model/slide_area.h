#pragma once
// How large the slide area is in the output window: the show's aspect, fitted into or
// over the part of the output the show may use, or kept at its design size.
#include <cstdint>

#include "base/rect.h"
#include "ini/ini_ident_list.h"

namespace kiv {

enum class TSlideFit : uint8_t {
  Inside = 0,  // the whole slide is seen, bars fill the rest
  Cover = 1,   // the slide covers the area, its overflow is cut
  Fill = 2,    // the slide takes the area's shape
};

// The show's own size and aspect settings from "main".
struct TShowDesign {
  TPixelSize Size{640, 480};    // "opt_scr_width", "opt_scr_height"
  bool FullFixedSize = false;  // "opt_scr_fullfixedsize"
  int32_t MinorVersion = 13;   // "MinorVersion"
  double Ratio = 0;            // "opt_scr_ratio"; 0 when absent or not positive
};

TShowDesign ReadShowDesign(const TIniIdentList& main);

// Projects from minor version 13 on keep their design aspect; a design height that is
// not positive fails with "ZeroSize of Presentation!". Older projects take the output's
// aspect (4/3 for an output without height) unless they give "opt_scr_ratio".
double ShowAspectRatio(const TShowDesign& design, TPixelSize output);

// A share of the output in percent as the show may use it: one that is not positive
// counts as 100 (the whole output).
double UsablePercent(double percent);

struct TSlideAreaRequest {
  TPixelSize Output;
  TSlideFit Fit = TSlideFit::Inside;
  // The share of the output the show may use; a share that is not positive counts as 100.
  double WidthPercent = 100;
  double HeightPercent = 100;
  double AspectRatio = 4.0 / 3.0;
  TPixelSize Design;
  bool FullFixedSize = false;
};

// With a fixed size: the design size, shrunk (never enlarged) to fit the output. Else
// the aspect fitted to the usable share of the output; a side that comes out odd and
// smaller than the output grows by one, as even sizes centre on whole pixels.
TPixelSize SlideAreaSize(const TSlideAreaRequest& request);

}  // namespace kiv
