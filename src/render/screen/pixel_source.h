#pragma once
// Read access to the pixels of a picture that tiles are filled from, and a view of one
// rectangle of a bitmap.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/bitmap.h"
#include "render/device/geometry_3d.h"

namespace kiv {

class IPixelSource {
 public:
  virtual ~IPixelSource() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Bytes per pixel, 1 to 4.
  virtual int PixelSize() const = 0;
  // Copies count pixels of row y from column x on into buffer of bufferSize bytes.
  virtual void GetPixels(int x, int y, int count, uint8_t* buffer, size_t bufferSize) const = 0;
};

// Asserts that a GetPixels request of className fits the source and the buffer, with
// the texts className + ".GetPixels (X,Y) out of Bitmap.Size", "... - Offset out of
// Bounds" and "... - Not Enought Pixel Buffer Space".
void CheckPixelRequest(std::string_view className, const IPixelSource& source, int x, int y, int count,
                       size_t bufferSize);

// The pixels of rect inside bitmap (not owned).
class TCroppedBitmap : public IPixelSource {
 public:
  TCroppedBitmap(const TBitmap& bitmap, const TRect& rect);
  int Width() const override { return FRect.Width(); }
  int Height() const override { return FRect.Height(); }
  int PixelSize() const override { return BytesPerPixel(FBitmap.Format()); }
  void GetPixels(int x, int y, int count, uint8_t* buffer, size_t bufferSize) const override;

 private:
  const TBitmap& FBitmap;
  TRect FRect;
};

}  // namespace kiv
