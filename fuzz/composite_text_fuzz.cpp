// Feeds arbitrary text (UTF-8, given the composite GUID in front when it lacks it) to the
// composite reader. What reads as valid must keep its times within bounds, write itself
// out and read back to the same text, and mix a few blocks anywhere on its time line
// with every item a short tone, without growing or hanging.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "base/text.h"
#include "sound/composite_converter.h"
#include "sound/composite_params.h"

namespace {

// 50 ms of a 16-bit stereo tone at 44100 Hz as a WAV file.
std::vector<uint8_t> ToneWav() {
  constexpr uint32_t kFrames = 2205;
  std::vector<uint8_t> bytes;
  auto put = [&](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
  };
  auto tag = [&](const char* text) { bytes.insert(bytes.end(), text, text + 4); };
  tag("RIFF"), put(36 + kFrames * 4, 4), tag("WAVE"), tag("fmt "), put(16, 4);
  put(1, 2), put(2, 2), put(44100, 4), put(176400, 4), put(4, 2), put(16, 2);
  tag("data"), put(kFrames * 4, 4);
  for (uint32_t i = 0; i < kFrames * 2; ++i) put(uint16_t(int16_t((i * 977) % 60000 - 30000)), 2);
  return bytes;
}

bool HoldsGuid(std::u16string_view text, size_t from) {
  const std::u16string lower = kiv::LowerCase(text.substr(from));
  return lower.find(kiv::LowerCase(kiv::kCompositeGuid)) != std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text = kiv::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!kiv::IsCompositeText(text)) text = std::u16string(kiv::kCompositeGuid) + text;

  kiv::TCompositeParams params;
  const bool valid = params.FromText(text);
  if (valid != (params.Duration > 0 && !params.Items.empty())) std::abort();
  if (params.Duration < 0 || params.Duration > 1'000'000'000) std::abort();
  bool nameHoldsGuid = false;
  for (const kiv::TCompositeItem& item : params.Items) {
    for (int32_t ms : {item.TimeLine, item.BeginTime, item.Duration})
      if (ms < 0 || ms > 1'000'000'000) std::abort();
    if (item.Envelopes.Count() > 64) std::abort();
    for (size_t j = 0; j < item.Envelopes.Count(); ++j)
      for (const kiv::TVolumeItem& point : item.Envelopes[j].Points())
        if (point.Volume < 0) std::abort();
    nameHoldsGuid = nameHoldsGuid || HoldsGuid(item.FileName, 0);
  }
  if (!valid) return 0;

  // Written out and read back, a description stays as it is (unless a file name holds
  // the GUID, which starts a description of its own).
  const std::u16string written = params.ToText();
  kiv::TCompositeParams again;
  if (!nameHoldsGuid) {
    if (!again.FromText(written) || again.ToText() != written) std::abort();
  }

  kiv::TSoundSource source = kiv::ShowSoundSource([](std::u16string_view) -> std::unique_ptr<kiv::TStream> {
    return std::make_unique<kiv::TMemoryStream>(ToneWav());
  });
  kiv::TCompositeConverter converter(source, written);
  if (!converter.Open({})) return 0;
  for (double at : {0.0, params.Duration / 2.0, double(params.Duration) - 20}) {
    converter.Seek(at);
    for (int block = 0; block < 2; ++block) {
      converter.Read(kiv::TCompositeConverter::kBlockBytes);
      if (converter.Output().Size() > 2 * kiv::TCompositeConverter::kBlockBytes) std::abort();
      converter.Output().Clear();
    }
    if (converter.OpenItems() > kiv::TCompositeConverter::kMostOpenItems) std::abort();
  }
  return 0;
}
