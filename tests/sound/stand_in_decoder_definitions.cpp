// STAND-IN, for this test program only: minimal definitions of the decoder layer's
// non-virtual members (byte buffer, converter base, format helpers), so that the output
// tests link before the decoders arrive. The decoders' own definitions replace this file.
#include <algorithm>
#include <cstring>

#include "sound/local_buffer.h"
#include "sound/media_info.h"
#include "sound/wav_converter.h"

namespace kiv {

void TLocalBuffer::Reserve(size_t count) {
  if (Free() < count) FBytes.resize(FUsed + count);
}
void TLocalBuffer::Append(const void* bytes, size_t count) {
  std::memcpy(WriteSpace(count), bytes, count);
  Commit(count);
}
void TLocalBuffer::AppendFill(uint8_t value, size_t count) {
  std::memset(WriteSpace(count), value, count);
  Commit(count);
}
void TLocalBuffer::Consume(size_t count) {
  count = std::min(count, FUsed);
  std::memmove(FBytes.data(), FBytes.data() + count, FUsed - count);
  FUsed -= count;
}
uint8_t* TLocalBuffer::WriteSpace(size_t count) {
  Reserve(count);
  return FBytes.data() + FUsed;
}
void TLocalBuffer::Commit(size_t count) { FUsed = std::min(FUsed + count, FBytes.size()); }

TWaveFormat PcmFormat(uint32_t rate, uint16_t channels, uint16_t bits) {
  const uint16_t align = uint16_t(channels * bits / 8);
  return TWaveFormat{1, channels, rate, rate * align, align, bits, 0};
}
TWaveFormat MixFormat() { return PcmFormat(44100, 2, 16); }

struct TWavConverter::TConversion {
  TWaveFormat Target;
};
TWavConverter::TWavConverter() = default;
TWavConverter::~TWavConverter() = default;
void TWavConverter::SetTargetFormat(const TWaveFormat& format) {
  if (!FConversion) FConversion = std::make_unique<TConversion>();
  FConversion->Target = format;
}
bool TWavConverter::Open(const TMediaInfo& media) {
  FMedia = media;
  FPosition = 0;
  return true;
}
void TWavConverter::Seek(double ms) {
  FOutput.Clear();
  FPosition = ms;
}
bool TWavConverter::Read(size_t) { return false; }
const TWaveFormat& TWavConverter::OutputFormat() const { return FConversion ? FConversion->Target : FMedia.Format; }
bool TWavConverter::FillInput() { return false; }
bool TWavConverter::Process() { return false; }

}  // namespace kiv
