#pragma once
// What a video object's frames come from, and one decoded frame kept in memory: its Y
// plane and its U and V planes at half size (rounded up), rows packed.
#include <cstdint>
#include <vector>

namespace kiv {

struct TVideoFrame {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Y, U, V;

  int ChromaWidth() const { return (Width + 1) / 2; }
  int ChromaHeight() const { return (Height + 1) / 2; }
};

class TFrameSource {
 public:
  virtual ~TFrameSource() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Frames per second as a fraction (29.97 is 30000/1001).
  virtual int RateNum() const = 0;
  virtual int RateDen() const = 0;
  double Rate() const { return RateDen() > 0 ? double(RateNum()) / RateDen() : 0; }
  // 0 when unknown.
  virtual int64_t FrameCount() const = 0;
  virtual bool Interlaced() const = 0;
  virtual bool TopFieldFirst() const = 0;
  // Width ÷ height of one pixel as drawn.
  virtual double PixelAspect() const = 0;
  // Decodes frame index into frame; false when there is no picture to give ("GetFrame
  // Error"), frame unchanged then.
  virtual bool GetFrame(int64_t index, TVideoFrame& frame) = 0;
};

}  // namespace kiv
