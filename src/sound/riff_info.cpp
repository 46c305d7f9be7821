#include "sound/riff_info.h"

#include <algorithm>
#include <cstring>

namespace kiv {
namespace {

constexpr int kMostChunks = 65536;
constexpr uint16_t kExtensible = 0xFFFE;

uint16_t Word(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t DWord(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

bool ReadAt(TStream& stream, int64_t position, void* buffer, int64_t count) {
  stream.SetPosition(position);
  return stream.Read(buffer, count) == count;
}

}  // namespace

bool TRiffInfo::Read(TStream& stream) {
  *this = TRiffInfo();
  try {
    const int64_t size = stream.GetSize();
    uint8_t head[12];
    if (size < 12 || !ReadAt(stream, 0, head, 12)) return false;
    if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return false;
    bool haveFormat = false;
    int64_t position = 12;
    for (int chunk = 0; chunk < kMostChunks && position + 8 <= size; ++chunk) {
      uint8_t header[8];
      if (!ReadAt(stream, position, header, 8)) return false;
      const uint32_t chunkSize = DWord(header + 4);
      const int64_t body = position + 8;
      if (std::memcmp(header, "fmt ", 4) == 0) {
        uint8_t fmt[72] = {};
        const int64_t count = std::min<int64_t>({chunkSize, int64_t(sizeof fmt), size - body});
        if (count < 16 || !ReadAt(stream, body, fmt, count)) return false;
        Format.Tag = Word(fmt);
        Format.Channels = Word(fmt + 2);
        Format.Rate = DWord(fmt + 4);
        Format.BytesPerSecond = DWord(fmt + 8);
        Format.BlockAlign = Word(fmt + 12);
        Format.Bits = Word(fmt + 14);
        Format.ExtraSize = count >= 18 ? Word(fmt + 16) : 0;
        if (Format.Tag == kExtensible) {
          // The sub-format GUID starts with the tag it stands for.
          if (count < 40) return false;
          Format.Tag = Word(fmt + 24);
          Format.ExtraSize = 0;
        }
        std::memcpy(AdpcmExtra, fmt + 18, sizeof AdpcmExtra);
        haveFormat = true;
      } else if (std::memcmp(header, "fact", 4) == 0 && chunkSize >= 4) {
        uint8_t fact[4];
        if (ReadAt(stream, body, fact, 4)) FactSamples = DWord(fact);
      } else if (std::memcmp(header, "data", 4) == 0) {
        if (!haveFormat || body > UINT32_MAX) return false;
        DataOffset = uint32_t(body);
        DataSize = uint32_t(std::min<int64_t>(chunkSize, size - body));
        return true;
      }
      position = body + chunkSize + (chunkSize & 1);
    }
  } catch (const EKivError&) {
  }
  return false;
}

}  // namespace kiv
