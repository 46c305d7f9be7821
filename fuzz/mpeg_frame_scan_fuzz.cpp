// Feeds arbitrary bytes as an MP3 file: the frame scan runs over them, and what it
// accepts is looked up at a few times, decoded for a few reads from the start and from
// seeks. Found frames must lie inside the data at a time that can be told, and reads
// must stay bounded.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/memory_stream.h"
#include "sound/mpeg_info.h"
#include "sound_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  kiv::TMediaInfo media;
  if (!kiv::TMpegInfo::Scan(stream, 0, uint32_t(size), 0, media)) return 0;
  if (media.Type != kiv::TMediaType::Mpeg || media.Format.Rate == 0 ||
      uint64_t(media.DataOffset) + media.DataSize > size)
    std::abort();
  for (const double ms : {0.0, 26.0, media.Duration / 2.0, double(media.Duration), 1e12}) {
    const kiv::TMpegInfo::TFrame frame = kiv::TMpegInfo::FindFrame(stream, media, ms);
    if (frame.Offset < media.DataOffset || frame.Offset > uint64_t(media.DataOffset) + media.DataSize ||
        !std::isfinite(frame.StartMs) || frame.StartMs < 0)
      std::abort();
  }
  const std::unique_ptr<kiv::TWavConverter> converter = kiv::FuzzConverter(stream, u"fuzz.mp3", media);
  if (!converter) return 0;
  kiv::FuzzReadToEnd(*converter, 8);
  for (const double ms : {media.Duration / 2.0, 1e12, 0.0}) {
    converter->Seek(ms);
    kiv::FuzzReadToEnd(*converter, 4);
  }
  return 0;
}
