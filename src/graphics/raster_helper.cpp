#include "graphics/raster_helper.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"

namespace kiv {

namespace {

// Deepest bisection of one curve: 65536 lines, enough for a curve round the largest
// picture, and a bound for curves with damaged (huge) coordinates.
constexpr int kMaxCurveDepth = 16;

// Pieces of a curve whose ends are closer than this in x and in y are drawn straight.
constexpr float kFlatPiece = 2;

// Thinner pens draw nothing.
constexpr float kThinnestPen = 0.0001f;

bool IsFinite(TPointF p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The point at t of the quadratic (count 3) or cubic (count 4) curve of control points.
TPointF CurvePoint(const TPointF* c, int count, float t) {
  const float u = 1 - t;
  if (count == 3) {
    const float a = u * u, b = 2 * t * u, d = t * t;
    return {a * c[0].X + b * c[1].X + d * c[2].X, a * c[0].Y + b * c[1].Y + d * c[2].Y};
  }
  const float a = u * u * u, b = 3 * t * u * u, d = 3 * t * t * u, e = t * t * t;
  return {a * c[0].X + b * c[1].X + d * c[2].X + e * c[3].X, a * c[0].Y + b * c[1].Y + d * c[2].Y + e * c[3].Y};
}

}  // namespace

void TRasterHelper::BeginPaint(int width, int height) { BeginPaint(width, height, FFillColour & 0x00FFFFFF); }

void TRasterHelper::BeginPaint(int width, int height, uint32_t background) {
  if (FTarget != nullptr) KIV_FAIL("Previous TRasterHelper.BeginPaint not Closed");
  if (width == 0 || height == 0) KIV_FAIL("TRasterHelper.BeginPaint: W or H = 0");
  KIV_ASSERT(AllowedPictureSize(width, height));
  FTarget = std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32);
  const uint8_t pixel[4] = {uint8_t(background), uint8_t(background >> 8), uint8_t(background >> 16),
                            uint8_t(background >> 24)};
  if (background == 0) return;  // a new bitmap is zero-filled
  uint8_t* first = FTarget->Row(0);
  for (int x = 0; x < width; ++x) std::copy(pixel, pixel + 4, first + size_t(x) * 4);
  for (int y = 1; y < height; ++y) std::copy(first, first + size_t(width) * 4, FTarget->Row(y));
}

std::unique_ptr<TBitmap> TRasterHelper::EndPaint() {
  if (FTarget == nullptr) KIV_FAIL("No Previous Call of TRasterHelper.BeginPaint");
  return std::move(FTarget);
}

void TRasterHelper::SetMatrix(const TAffineMatrix& matrix) { FMatrix = matrix; }

void TRasterHelper::MultiplyMatrix(const TAffineMatrix& matrix) { FMatrix = Followed(matrix, FMatrix); }

TPointF TRasterHelper::Mapped(const TPathPoint& p) const {
  return FMapping ? FMapping({p.X, p.Y}) : FMatrix.Map({p.X, p.Y});
}

void TRasterHelper::FillPath(const TPath& path, bool evenOdd) {
  KIV_ASSERT(FTarget != nullptr);
  if (FStroke && !(FPenWidth > kThinnestPen)) return;
  StartShape(evenOdd);
  const std::vector<TPathPoint>& points = path.Points;
  bool moveNeeded = true;
  for (size_t i = 0; i < points.size();) {
    const TPathPoint& p = points[i];
    if (moveNeeded && p.Command != kPathMove) break;
    switch (p.Command) {
      case kPathMove:
        MoveTo(Mapped(p));
        moveNeeded = false;
        ++i;
        break;
      case kPathLine:
        LineTo(Mapped(p));
        ++i;
        break;
      case kPathQuadratic:
      case kPathCubic: {
        const size_t count = p.Command == kPathQuadratic ? 2 : 3;
        if (points.size() - i < count) {
          // A curve cut short: the shape is not trusted at all.
          StartShape(evenOdd);
          return;
        }
        TPointF control[4] = {FLast};
        for (size_t k = 0; k < count; ++k) control[k + 1] = Mapped(points[i + k]);
        FlattenCurve(control, int(count + 1));
        i += count;
        break;
      }
      case kPathEndRun:
        moveNeeded = true;
        ++i;
        break;
      default:
        // Paths come from show files: the shape is dropped and painting may go on.
        StartShape(evenOdd);
        throw EKivError("Unknown Path Command");
    }
  }
  FinishShape();
}

void TRasterHelper::FillPolygon(const TPointF* points, int count, bool evenOdd) {
  KIV_ASSERT(FTarget != nullptr);
  if (count < 2 || (FStroke && !(FPenWidth > kThinnestPen))) return;
  StartShape(evenOdd);
  MoveTo(Mapped({points[0].X, points[0].Y}));
  for (int i = 1; i < count; ++i) LineTo(Mapped({points[i].X, points[i].Y}));
  // A stroked polygon is drawn round, back to its first point.
  if (FStroke) LineTo(Mapped({points[0].X, points[0].Y}));
  FinishShape();
}

void TRasterHelper::StartShape(bool evenOdd) {
  FOutline.Reset(evenOdd);
  FStrokePoints.clear();
  FLast = {};
}

void TRasterHelper::MoveTo(TPointF p) {
  if (FStroke) {
    StrokeCollected();
    FStrokePoints.push_back(p);
  } else {
    FOutline.MoveTo(p.X, p.Y);
  }
  FLast = p;
}

void TRasterHelper::LineTo(TPointF p) {
  if (FStroke)
    FStrokePoints.push_back(p);
  else
    FOutline.LineTo(p.X, p.Y);
  FLast = p;
}

void TRasterHelper::FlattenCurve(const TPointF* control, int count) {
  FlattenPiece(control, count, 0, control[0], 1, control[count - 1], 0);
}

// The piece of the curve from t0 to t1, drawn as lines from p0 (already reached) to p1.
void TRasterHelper::FlattenPiece(const TPointF* control, int count, float t0, TPointF p0, float t1,
                                 TPointF p1, int depth) {
  const bool flat = std::abs(p1.X - p0.X) < kFlatPiece && std::abs(p1.Y - p0.Y) < kFlatPiece;
  if (flat || depth >= kMaxCurveDepth || !IsFinite(p0) || !IsFinite(p1)) {
    LineTo(p1);
    return;
  }
  const float middle = (t0 + t1) / 2;
  const TPointF pm = CurvePoint(control, count, middle);
  FlattenPiece(control, count, t0, p0, middle, pm, depth + 1);
  FlattenPiece(control, count, middle, pm, t1, p1, depth + 1);
}

void TRasterHelper::FinishShape() {
  if (FStroke) {
    StrokeCollected();
    return;
  }
  FOutline.Close();
  FRasterizer.Fill(FOutline, *FTarget, FFillColour, FFillFunction ? &FFillFunction : nullptr);
}

// The collected polyline as one closed outline: each segment shifted by half the pen
// width to one side going forward, then to the other side coming back.
void TRasterHelper::StrokeCollected() {
  const size_t n = FStrokePoints.size();
  if (n >= 2) {
    FOutline.Reset(false);
    const float half = FPenWidth / 2;
    bool first = true;
    auto addSegment = [&](TPointF a, TPointF b) {
      float nx = a.Y - b.Y, ny = b.X - a.X;
      const float length = std::hypot(nx, ny);
      if (length > 0) nx *= half / length, ny *= half / length;
      if (first)
        FOutline.MoveTo(a.X + nx, a.Y + ny);
      else
        FOutline.LineTo(a.X + nx, a.Y + ny);
      first = false;
      FOutline.LineTo(b.X + nx, b.Y + ny);
    };
    for (size_t i = 0; i + 1 < n; ++i) addSegment(FStrokePoints[i], FStrokePoints[i + 1]);
    for (size_t i = n - 1; i > 0; --i) addSegment(FStrokePoints[i], FStrokePoints[i - 1]);
    FOutline.Close();
    FRasterizer.Fill(FOutline, *FTarget, FFillColour, FFillFunction ? &FFillFunction : nullptr);
  }
  FStrokePoints.clear();
}

}  // namespace kiv
