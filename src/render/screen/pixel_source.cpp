#include "render/screen/pixel_source.h"

#include <cstring>
#include <string>

#include "base/errors.h"

namespace kiv {

void CheckPixelRequest(std::string_view className, const IPixelSource& source, int x, int y, int count,
                       size_t bufferSize) {
  const std::string name(className);
  if (x < 0 || y < 0 || x >= source.Width() || y >= source.Height())
    KIV_FAIL(name + ".GetPixels (X,Y) out of Bitmap.Size");
  if (count < 0 || x + count > source.Width()) KIV_FAIL(name + ".GetPixels - Offset out of Bounds");
  if (size_t(count) * size_t(source.PixelSize()) > bufferSize)
    KIV_FAIL(name + ".GetPixels - Not Enought Pixel Buffer Space");
}

TCroppedBitmap::TCroppedBitmap(const TBitmap& bitmap, const TRect& rect) : FBitmap(bitmap), FRect(rect) {
  KIV_ASSERT(Intersection(rect, {0, 0, bitmap.Width(), bitmap.Height()}) == rect);
}

void TCroppedBitmap::GetPixels(int x, int y, int count, uint8_t* buffer, size_t bufferSize) const {
  CheckPixelRequest("TCroppedBitmap", *this, x, y, count, bufferSize);
  const int size = PixelSize();
  std::memcpy(buffer, FBitmap.Row(FRect.Top + y) + size_t(FRect.Left + x) * size, size_t(count) * size);
}

}  // namespace kiv
