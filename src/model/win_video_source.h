#pragma once
// The video source over our FFmpeg reader: a clip opened from a stream of the show or
// from a file on disk, handing out frames by number.
#include <memory>
#include <string>

#include "base/stream.h"
#include "model/frame_source.h"

namespace kiv {

class TVideoDecoder;

class TWinVideoSource : public TFrameSource {
 public:
  // None when the stream (kept by the source) or file holds no decodable video.
  static std::unique_ptr<TWinVideoSource> Open(std::unique_ptr<TStream> stream);
  static std::unique_ptr<TWinVideoSource> OpenFile(const std::string& path);
  ~TWinVideoSource() override;

  int Width() const override;
  int Height() const override;
  int RateNum() const override;
  int RateDen() const override;
  int64_t FrameCount() const override;
  bool Interlaced() const override;
  bool TopFieldFirst() const override;
  double PixelAspect() const override;
  bool GetFrame(int64_t index, TVideoFrame& frame) override;
  // The frame number last decoded (-1 before the first).
  int64_t LastIndex() const;

 private:
  TWinVideoSource(std::shared_ptr<TStream> stream, std::unique_ptr<TVideoDecoder> decoder);
  std::shared_ptr<TStream> FStream;
  std::unique_ptr<TVideoDecoder> FDecoder;
};

}  // namespace kiv
