// Feeds arbitrary bytes to the sound recogniser under every name a sound may have: each
// extension the recogniser treats apart, none, and an audio stream number. What it
// recognises must be playable: a rate, channels and the stream number asked.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "base/memory_stream.h"
#include "sound/converter_factory.h"

namespace {

constexpr std::u16string_view kNames[] = {u"fuzz.wav", u"fuzz.mp3", u"fuzz.mp2", u"fuzz.mp1", u"fuzz.ogg",
                                          u"fuzz.wma", u"fuzz",     u"fuzz.avi?1", u"FUZZ.MP3?0"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  for (const std::u16string_view name : kNames) {
    const std::optional<kiv::TMediaInfo> media = kiv::RecogniseMedia(stream, name);
    if (!media) continue;
    if (media->Format.Rate == 0 || media->Format.Channels == 0) std::abort();
    if (media->StreamNumber != kiv::SplitSoundName(name).StreamNumber) std::abort();
  }
  return 0;
}
