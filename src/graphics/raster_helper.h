#pragma once
// Paints vector shapes into a fresh Bgra32 picture: paths of lines, quadratic and cubic
// curves are mapped (by a matrix or the caller's mapping), flattened into lines and
// filled with anti-aliased edges, or stroked with a pen of a given width.
//
//   TRasterHelper raster;
//   raster.SetFillColour(0xFF000000);
//   raster.BeginPaint(64, 64);
//   raster.FillPath(glyph, false);
//   std::unique_ptr<TBitmap> picture = raster.EndPaint();
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/affine_matrix.h"
#include "graphics/bitmap.h"
#include "graphics/outline.h"
#include "graphics/rasterizer.h"
#include "graphics/vector_path.h"

namespace kiv {

// Maps a point of a path to the target picture, in pixels.
using TPointMapping = std::function<TPointF(TPointF)>;

class TRasterHelper {
 public:
  TRasterHelper() = default;
  TRasterHelper(const TRasterHelper&) = delete;
  TRasterHelper& operator=(const TRasterHelper&) = delete;
  // A picture still being painted is dropped.
  ~TRasterHelper() = default;

  // Starts a picture of width × height filled with background (0xAARRGGBB), by default
  // the fill colour with alpha 0. Assertion failures: a size of 0 ("TRasterHelper.BeginPaint:
  // W or H = 0") or one no picture may have, and a picture already being painted
  // ("Previous TRasterHelper.BeginPaint not Closed").
  void BeginPaint(int width, int height);
  void BeginPaint(int width, int height, uint32_t background);
  // Hands over the painted picture. Assertion failure without BeginPaint ("No Previous
  // Call of TRasterHelper.BeginPaint").
  std::unique_ptr<TBitmap> EndPaint();
  bool Painting() const { return FTarget != nullptr; }

  // Fills (or strokes) path into the picture; a shape only part of which reads is
  // filled as far as it reads. An unknown command throws EKivError("Unknown Path
  // Command") without filling; painting may go on after it.
  void FillPath(const TPath& path, bool evenOdd);
  // Fills the closed polygon of count points (nothing for fewer than 2).
  void FillPolygon(const TPointF* points, int count, bool evenOdd);

  void SetFillColour(uint32_t colour) { FFillColour = colour; }
  uint32_t FillColour() const { return FFillColour; }
  // A colour per pixel of the picture instead of the fill colour; empty for none.
  void SetFillFunction(TFillFunction fill) { FFillFunction = std::move(fill); }

  // Later points are mapped by matrix.
  void SetMatrix(const TAffineMatrix& matrix);
  // Later points are mapped by matrix first, then by the current matrix.
  void MultiplyMatrix(const TAffineMatrix& matrix);
  const TAffineMatrix& Matrix() const { return FMatrix; }
  // Later points are mapped by the caller's mapping instead of the matrix; empty maps
  // by the matrix again.
  void SetPointMapping(TPointMapping mapping) { FMapping = std::move(mapping); }

  // With stroke set, paths are drawn as lines of pen width instead of filled.
  void SetStroke(bool stroke) { FStroke = stroke; }
  void SetPenWidth(float width) { FPenWidth = width; }
  bool Stroke() const { return FStroke; }
  float PenWidth() const { return FPenWidth; }

 private:
  TPointF Mapped(const TPathPoint& p) const;
  void StartShape(bool evenOdd);
  void MoveTo(TPointF p);
  void LineTo(TPointF p);
  void FlattenCurve(const TPointF* control, int count);
  void FlattenPiece(const TPointF* control, int count, float t0, TPointF p0, float t1, TPointF p1,
                    int depth);
  void FinishShape();
  void StrokeCollected();

  std::unique_ptr<TBitmap> FTarget;
  uint32_t FFillColour = 0xFF000000;
  TFillFunction FFillFunction;
  TAffineMatrix FMatrix;
  TPointMapping FMapping;
  float FPenWidth = 1;
  bool FStroke = false;
  std::vector<TPointF> FStrokePoints;  // the polyline being collected for stroking
  TPointF FLast;                       // the last point of the walk, mapped
  TOutline FOutline;
  TRasterizer FRasterizer;
};

}  // namespace kiv
