#include "model/slide_area.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/errors.h"

namespace kiv {

namespace {

// Rounding to the nearest integer rounds ties to even (std::nearbyint in the default
// rounding mode); sides are kept within 0 … the 32-bit range whatever the settings say.
int32_t RoundedSide(double value) {
  if (!(value > 0)) return 0;
  return int32_t(std::min(std::nearbyint(value), double(std::numeric_limits<int32_t>::max())));
}

int32_t TruncatedSide(double value) {
  if (!(value > 0)) return 0;
  return int32_t(std::min(std::trunc(value), double(std::numeric_limits<int32_t>::max())));
}

TPixelSize FixedArea(TPixelSize design, TPixelSize output) {
  if (design.Width <= 0 || design.Height <= 0) return {};
  const TPixelSize out{std::max(output.Width, 0), std::max(output.Height, 0)};
  // output width / height >= design width / height, without dividing by a zero height
  if (int64_t(out.Width) * design.Height >= int64_t(design.Width) * out.Height) {
    const int32_t height = std::min(design.Height, out.Height);
    return {RoundedSide(double(height) * design.Width / design.Height), height};
  }
  const int32_t width = std::min(design.Width, out.Width);
  return {width, RoundedSide(double(width) * design.Height / design.Width)};
}

TPixelSize FittedAspect(TPixelSize usable, double ratio, TSlideFit fit) {
  TPixelSize size{RoundedSide(usable.Height * ratio), usable.Height};
  if (size.Width <= 0 || size.Height <= 0) return size;
  const double kx = double(usable.Width) / size.Width;
  const double ky = double(usable.Height) / size.Height;
  const double k = fit == TSlideFit::Cover ? std::max(kx, ky) : std::min(kx, ky);
  if (k != 1) size = {RoundedSide(size.Width * k), RoundedSide(size.Height * k)};
  return size;
}

int32_t EvenWithin(int32_t side, int32_t output) { return side % 2 != 0 && side < output ? side + 1 : side; }

}  // namespace

double UsablePercent(double percent) { return percent > 0 ? percent : 100; }

TShowDesign ReadShowDesign(const TIniIdentList& main) {
  TShowDesign design;
  design.Size = {main.ReadInteger(u"opt_scr_width", design.Size.Width),
                 main.ReadInteger(u"opt_scr_height", design.Size.Height)};
  design.FullFixedSize = main.ReadBool(u"opt_scr_fullfixedsize", false);
  design.MinorVersion = main.ReadInteger(u"MinorVersion", design.MinorVersion);
  const double ratio = main.ReadFloat(u"opt_scr_ratio", 0);
  design.Ratio = ratio > 0 && std::isfinite(ratio) ? ratio : 0;
  return design;
}

double ShowAspectRatio(const TShowDesign& design, TPixelSize output) {
  if (design.MinorVersion > 12) {
    if (design.Size.Height <= 0) KIV_FAIL("ZeroSize of Presentation!");
    return double(design.Size.Width) / design.Size.Height;
  }
  if (design.Ratio > 0) return design.Ratio;
  return output.Height > 0 ? double(output.Width) / output.Height : 4.0 / 3.0;
}

TPixelSize SlideAreaSize(const TSlideAreaRequest& request) {
  if (request.FullFixedSize) return FixedArea(request.Design, request.Output);
  const double widthPercent = UsablePercent(request.WidthPercent);
  const double heightPercent = UsablePercent(request.HeightPercent);
  const TPixelSize usable{TruncatedSide(request.Output.Width * 100.0 / widthPercent),
                         TruncatedSide(request.Output.Height * 100.0 / heightPercent)};
  const TPixelSize fitted =
      request.Fit == TSlideFit::Fill ? usable : FittedAspect(usable, request.AspectRatio, request.Fit);
  const TPixelSize share{TruncatedSide(fitted.Width * widthPercent / 100),
                        TruncatedSide(fitted.Height * heightPercent / 100)};
  return {EvenWithin(share.Width, request.Output.Width), EvenWithin(share.Height, request.Output.Height)};
}

}  // namespace kiv
