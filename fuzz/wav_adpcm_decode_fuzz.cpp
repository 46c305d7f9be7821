// Feeds arbitrary bytes as a WAV file: what is recognised is decoded to its end, then
// sought into its middle and past its end and read again. The decode must end, in a
// bounded number of reads that each deliver a bounded amount, and a WAV must not play
// longer than its header says. Sounds of more than a minute (a few hertz, mostly) are
// only read for a while, to keep the fuzzer quick.
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
  const bool riff = media->Type == kiv::TMediaType::PcmWav || media->Type == kiv::TMediaType::FloatWav ||
                    media->Type == kiv::TMediaType::AdpcmWav;
  if (media->Duration > 60000) {
    kiv::FuzzReadToEnd(*converter, 64);
    converter->Seek(media->Duration / 2.0);
    kiv::FuzzReadToEnd(*converter, 64);
    return 0;
  }
  const std::optional<double> ms = kiv::FuzzReadToEnd(*converter);
  if (!ms || (riff && *ms > media->Duration + 1000.0)) std::abort();
  converter->Seek(media->Duration / 2.0);
  if (!kiv::FuzzReadToEnd(*converter)) std::abort();
  converter->Seek(media->Duration + 1000.0);
  if (!kiv::FuzzReadToEnd(*converter, 2)) std::abort();
  return 0;
}
