// Feeds arbitrary bytes as a WAV file: what is recognised is decoded to its end, then
// sought into its middle and past its end and read again. The decode must end, in a
// bounded number of reads that each deliver a bounded amount.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "base/memory_stream.h"
#include "sound_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  const std::optional<kiv::TMediaInfo> media = kiv::RecogniseMedia(stream, u"fuzz.wav");
  if (!media) return 0;
  const std::unique_ptr<kiv::TWavConverter> converter = kiv::FuzzConverter(stream, u"fuzz.wav", *media);
  if (!converter) return 0;
  if (!kiv::FuzzReadToEnd(*converter)) std::abort();
  converter->Seek(media->Duration / 2.0);
  if (!kiv::FuzzReadToEnd(*converter)) std::abort();
  converter->Seek(media->Duration + 1000.0);
  if (!kiv::FuzzReadToEnd(*converter, 2)) std::abort();
  return 0;
}
