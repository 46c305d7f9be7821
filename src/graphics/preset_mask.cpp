#include "graphics/preset_mask.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kiv {

namespace {

constexpr int kFieldCount = 5;
constexpr int kMaxSteps = 100;
// How close to the ellipse the nearest point found must be, in pixels.
constexpr double kDistanceTolerance = 1e-4;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int32_t ReadField(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0);
  int64_t magnitude = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return 0;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > limit) return 0;
  }
  return int32_t(negative ? -magnitude : magnitude);
}

// How the mask value follows the depth d of a pixel centre inside the shape (pixels,
// negative outside): the soft profile, a smoothstep from the shape's edge (0) to FBand
// pixels in (255), times the share of the pixel the shape covers (d + 0.5 within 0 … 1),
// so that a hard edge is smoothed over about one pixel and a soft one meets it without a
// step. Both factors only grow with d.
class TEdgeRamp {
 public:
  explicit TEdgeRamp(double band) : FBand(band) {}

  // From this depth on the value is 255; up to −0.5 it is 0.
  double FullDepth() const { return std::max(FBand, 0.5); }

  uint8_t Value(double depth) const {
    const double cover = std::clamp(depth + 0.5, 0.0, 1.0);
    const double t = FBand > 0 ? std::clamp(depth / FBand, 0.0, 1.0) : 1.0;
    return uint8_t(std::lround(255 * cover * t * t * (3 - 2 * t)));
  }

 private:
  double FBand;
};

// The parameter s of the point of the ellipse nearest to a point off it (z0, z1: the
// point over the half-axes; r0: the squared ratio of the half-axes; g: how far the
// point is off the ellipse in the ellipse's own measure). s is the root of a function
// that falls and bends upwards all along the bracket: Newton steps from either side,
// bisection when a step would leave the bracket. The result is good once the function
// is within tolerance of 0.
double NearestParameter(double r0, double z0, double z1, double g, double tolerance) {
  const double n0 = r0 * z0;
  double low = z1 - 1, high = g < 0 ? 0 : std::hypot(n0, z1) - 1;
  double s = (low + high) / 2;
  for (int i = 0; i < kMaxSteps; ++i) {
    const double ratio0 = n0 / (s + r0), ratio1 = z1 / (s + 1);
    const double value = ratio0 * ratio0 + ratio1 * ratio1 - 1;
    if (std::abs(value) <= tolerance) break;
    (value > 0 ? low : high) = s;
    const double slope = -2 * (ratio0 * ratio0 / (s + r0) + ratio1 * ratio1 / (s + 1));
    const double next = s - value / slope;
    s = next > low && next < high ? next : (low + high) / 2;
  }
  return s;
}

// Distance from (y0, y1), both ≥ 0, to the ellipse with half-axes e0 ≥ e1 > 0.
double EllipseDistance(double e0, double e1, double y0, double y1) {
  if (y1 > 0) {
    if (y0 <= 0) return std::abs(y1 - e1);
    const double z0 = y0 / e0, z1 = y1 / e1;
    const double g = z0 * z0 + z1 * z1 - 1;
    if (g == 0) return 0;
    const double r0 = (e0 / e1) * (e0 / e1);
    // The point found lies on the ellipse grown by about half the function's value.
    const double s = NearestParameter(r0, z0, z1, g, 2 * kDistanceTolerance / e0);
    return std::hypot(r0 * y0 / (s + r0) - y0, y1 / (s + 1) - y1);
  }
  // On the long axis: inside near the centre the nearest point lies off the axis.
  const double numerator = e0 * y0, denominator = e0 * e0 - e1 * e1;
  if (numerator >= denominator) return std::abs(y0 - e0);
  const double ratio = numerator / denominator;
  return std::hypot(e0 * ratio - y0, e1 * std::sqrt(1 - ratio * ratio));
}

// Depth of (x, y) (from the picture's centre, both ≥ 0) inside the shape.
class TShapeDepth {
 public:
  TShapeDepth(const TPresetMaskRequest& request, double fullDepth)
      : FKind(TPresetMaskKind(request.Kind)),
        FHalfWidth(request.Width / 2.0),
        FHalfHeight(request.Height / 2.0),
        FRadius(std::min(std::clamp(request.Radius, 0, 100) / 100.0 * std::min(request.Width, request.Height),
                         std::min(FHalfWidth, FHalfHeight))),
        FFullDepth(fullDepth) {}

  double At(double x, double y) const {
    return FKind == TPresetMaskKind::Ellipse ? EllipseDepth(x, y) : RectangleDepth(x, y);
  }

 private:
  double RectangleDepth(double x, double y) const {
    const double qx = x - (FHalfWidth - FRadius), qy = y - (FHalfHeight - FRadius);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return FRadius - outside - std::min(std::max(qx, qy), 0.0);
  }

  double EllipseDepth(double x, double y) const {
    double e0 = FHalfWidth, e1 = FHalfHeight;
    if (e0 < e1) std::swap(e0, e1), std::swap(x, y);
    // The ellipse scaled by r passes through the point; the gap between it and the
    // ellipse is at least (1 − r) times the short half-axis, which settles most pixels
    // without looking for the nearest point.
    const double r = std::hypot(x / e0, y / e1);
    const double bound = (1 - r) * e1;
    if (bound >= FFullDepth || bound <= -0.5) return bound;
    const double distance = EllipseDistance(e0, e1, x, y);
    return r < 1 ? distance : -distance;
  }

  TPresetMaskKind FKind;
  double FHalfWidth;
  double FHalfHeight;
  double FRadius;
  double FFullDepth;
};

}  // namespace

std::optional<TPresetMaskRequest> ParsePresetMaskName(std::u16string_view name) {
  if (!name.starts_with(kPresetMaskPrefix)) return std::nullopt;
  std::u16string_view rest = name.substr(kPresetMaskPrefix.size());
  int32_t fields[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) {
    const size_t colon = rest.find(u':');
    if ((colon == std::u16string_view::npos) != (i == kFieldCount - 1)) return std::nullopt;
    fields[i] = ReadField(rest.substr(0, colon));
    if (colon != std::u16string_view::npos) rest.remove_prefix(colon + 1);
  }
  return TPresetMaskRequest{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::unique_ptr<TBitmap> MakePresetMask(const TPresetMaskRequest& request, const std::function<bool()>& cancel) {
  if (request.Kind != int32_t(TPresetMaskKind::RoundedRectangle) && request.Kind != int32_t(TPresetMaskKind::Ellipse))
    return nullptr;
  if (!AllowedPictureSize(request.Width, request.Height)) return nullptr;
  // The band is a share of half the smaller side, the distance from the nearest edge to
  // the middle of the shape: at 100 % the fade runs all the way in and leaves no flat
  // top, at 50 % it takes half the way, whatever the picture's size or proportions. A
  // share of the whole side would fade to the middle at 50 % already and leave the
  // upper half of the scale without meaning.
  const TEdgeRamp ramp(std::clamp(request.Softness, 0, 100) / 100.0 * std::min(request.Width, request.Height) / 2);
  const TShapeDepth depth(request, ramp.FullDepth());
  auto mask = std::make_unique<TBitmap>(request.Width, request.Height, TPixelFormat::Bgr24);
  const int width = request.Width;
  for (int y = 0; y < request.Height; ++y) {
    if (cancel && cancel()) return nullptr;
    const double dy = std::abs(y + 0.5 - request.Height / 2.0);
    uint8_t* row = mask->Row(y);
    // Both shapes are mirror-symmetric: the left half is worked out, the right copied.
    for (int x = 0; x < (width + 1) / 2; ++x) {
      const uint8_t value = ramp.Value(depth.At(std::abs(x + 0.5 - width / 2.0), dy));
      std::fill_n(row + 3 * x, 3, value);
      std::fill_n(row + 3 * (width - 1 - x), 3, value);
    }
  }
  return mask;
}

}  // namespace kiv
