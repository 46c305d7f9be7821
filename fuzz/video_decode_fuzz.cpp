// Feeds arbitrary bytes to the video decoder as a file read from a show, then asks for
// frames forward, past the end and back. Whatever opens must say a usable size and rate,
// and every picture it hands out must lie inside its planes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/video_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int64_t position = 0;
  kiv::TVideoReader reader;
  reader.Read = [&](uint8_t* buffer, int64_t count) {
    const int64_t n = std::min<int64_t>(count, int64_t(size) - position);
    if (n > 0) std::memcpy(buffer, data + position, size_t(n));
    position += std::max<int64_t>(n, 0);
    return std::max<int64_t>(n, 0);
  };
  reader.Seek = [&](int64_t to) { return to <= int64_t(size) && (position = to, true); };
  reader.Size = [&] { return int64_t(size); };
  std::string error;
  auto decoder = kiv::TVideoDecoder::OpenReader(reader, error);
  if (!decoder) return 0;
  const kiv::TVideoInfo& info = decoder->Info();
  if (info.Width <= 0 || info.Height <= 0 || info.RateNum <= 0 || info.RateDen <= 0 || info.FrameCount < 0)
    std::abort();
  for (int64_t frame : {int64_t(1), int64_t(5), info.FrameCount + 3, int64_t(0), int64_t(40), int64_t(2)}) {
    if (!decoder->DecodeFrame(frame)) continue;
    const kiv::TYuvPlanes& planes = decoder->Planes();
    if (!planes.Plane[0] || planes.Pitch[0] < planes.Width || planes.Pitch[1] < (planes.Width + 1) / 2) std::abort();
    // Touches the last byte of every plane, so that a short plane shows under the sanitizer.
    volatile uint8_t last = planes.Plane[0][int64_t(planes.Height - 1) * planes.Pitch[0] + planes.Width - 1];
    last = planes.Plane[2][int64_t((planes.Height + 1) / 2 - 1) * planes.Pitch[2] + (planes.Width + 1) / 2 - 1];
    (void)last;
  }
  return 0;
}
