#include "graphics/outline.h"

namespace kiv {

void TOutline::Reset(bool evenOdd) {
  FEdges.clear();
  FEvenOdd = evenOdd;
  FStartX = FStartY = FLastX = FLastY = 0;
  FClosed = true;
}

void TOutline::MoveTo(float x, float y) {
  Close();
  FStartX = FLastX = ToSubPixels(x);
  FStartY = FLastY = ToSubPixels(y);
  FClosed = false;
}

void TOutline::Close() {
  if (FClosed) return;
  AddEdge(FLastX, FLastY, FStartX, FStartY);
  FLastX = FStartX;
  FLastY = FStartY;
  FClosed = true;
}

}  // namespace kiv
