#include "model/win_video_source.h"

#include <cstring>

#include "base/errors.h"
#include "base/log.h"
#include "platform/video_decoder.h"

namespace kiv {

namespace {

void CopyPlane(const uint8_t* from, int pitch, int width, int height, std::vector<uint8_t>& to) {
  to.resize(size_t(width) * size_t(height));
  for (int row = 0; row < height; ++row)
    std::memcpy(to.data() + size_t(row) * size_t(width), from + ptrdiff_t(row) * pitch, size_t(width));
}

}  // namespace

TWinVideoSource::TWinVideoSource(std::shared_ptr<TStream> stream, std::unique_ptr<TVideoDecoder> decoder)
    : FStream(std::move(stream)), FDecoder(std::move(decoder)) {}

TWinVideoSource::~TWinVideoSource() = default;

std::unique_ptr<TWinVideoSource> TWinVideoSource::Open(std::unique_ptr<TStream> owned) {
  if (!owned) return nullptr;
  std::shared_ptr<TStream> stream = std::move(owned);
  TVideoReader reader;
  TStream* raw = stream.get();
  reader.Read = [raw](uint8_t* buffer, int64_t count) -> int64_t {
    try {
      return raw->Read(buffer, count);
    } catch (const EKivError&) {
      return -1;
    }
  };
  reader.Seek = [raw](int64_t position) {
    try {
      raw->SetPosition(position);
      return true;
    } catch (const EKivError&) {
      return false;
    }
  };
  reader.Size = [raw]() -> int64_t {
    try {
      return raw->GetSize();
    } catch (const EKivError&) {
      return -1;
    }
  };
  try {
    raw->SetPosition(0);
  } catch (const EKivError&) {
    return nullptr;
  }
  std::string error;
  std::unique_ptr<TVideoDecoder> decoder = TVideoDecoder::OpenReader(std::move(reader), error);
  if (!decoder) return nullptr;
  return std::unique_ptr<TWinVideoSource>(new TWinVideoSource(std::move(stream), std::move(decoder)));
}

std::unique_ptr<TWinVideoSource> TWinVideoSource::OpenFile(const std::string& path) {
  std::string error;
  std::unique_ptr<TVideoDecoder> decoder = TVideoDecoder::OpenFile(path, error);
  if (!decoder) return nullptr;
  return std::unique_ptr<TWinVideoSource>(new TWinVideoSource(nullptr, std::move(decoder)));
}

int TWinVideoSource::Width() const { return FDecoder->Info().Width; }
int TWinVideoSource::Height() const { return FDecoder->Info().Height; }
int TWinVideoSource::RateNum() const { return FDecoder->Info().RateNum; }
int TWinVideoSource::RateDen() const { return FDecoder->Info().RateDen; }
int64_t TWinVideoSource::FrameCount() const { return FDecoder->Info().FrameCount; }
bool TWinVideoSource::Interlaced() const { return FDecoder->Info().Interlaced; }
bool TWinVideoSource::TopFieldFirst() const { return FDecoder->Info().TopFieldFirst; }
double TWinVideoSource::PixelAspect() const { return FDecoder->Info().PixelAspect(); }
int64_t TWinVideoSource::LastIndex() const { return FDecoder->FrameIndex(); }

bool TWinVideoSource::GetFrame(int64_t index, TVideoFrame& frame) {
  if (!FDecoder->DecodeFrame(index)) {
    Log().Write("GetFrame Error");
    return false;
  }
  const TYuvPlanes& planes = FDecoder->Planes();
  if (!planes.Plane[0] || !planes.Plane[1] || !planes.Plane[2]) {
    Log().Write("YUV data not found");
    return false;
  }
  frame.Width = planes.Width;
  frame.Height = planes.Height;
  CopyPlane(planes.Plane[0], planes.Pitch[0], frame.Width, frame.Height, frame.Y);
  CopyPlane(planes.Plane[1], planes.Pitch[1], frame.ChromaWidth(), frame.ChromaHeight(), frame.U);
  CopyPlane(planes.Plane[2], planes.Pitch[2], frame.ChromaWidth(), frame.ChromaHeight(), frame.V);
  return true;
}

}  // namespace kiv
