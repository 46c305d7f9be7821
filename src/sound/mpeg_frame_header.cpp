#include "sound/mpeg_frame_header.h"

namespace kiv {
namespace {

// Kilobits per second by [MPEG-1 or not][layer - 1][index].
constexpr uint16_t kBitRates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};
constexpr uint32_t kRates[3] = {44100, 48000, 32000};

}  // namespace

bool TMpegFrameHeader::Parse(const uint8_t* b, uint32_t freeBytes) {
  const uint32_t word = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
  if ((word & 0xFFE00000u) != 0xFFE00000u) return false;
  const uint32_t versionBits = (word >> 19) & 3, layerBits = (word >> 17) & 3;
  const uint32_t rateIndex = (word >> 10) & 3, bitRateIndex = (word >> 12) & 15;
  if (versionBits == 1 || layerBits == 0 || bitRateIndex == 15 || rateIndex == 3 || (word & 3) == 2) return false;
  Word = word;
  Version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 3;
  Layer = uint8_t(4 - layerBits);
  Mode = uint8_t((word >> 6) & 3);
  Padding = (word >> 9) & 1;
  Rate = kRates[rateIndex] >> (Version - 1);
  BitRate = kBitRates[Version == 1 ? 0 : 1][Layer - 1][bitRateIndex] * 1000u;
  Samples = Layer == 1 ? 384 : Layer == 2 || Version == 1 ? 1152 : 576;
  if (BitRate == 0)
    FrameBytes = freeBytes ? freeBytes + (Padding ? (Layer == 1 ? 4 : 1) : 0) : 0;
  else if (Layer == 1)
    FrameBytes = (12 * BitRate / Rate + Padding) * 4;
  else
    FrameBytes = Samples / 8 * BitRate / Rate + Padding;
  return true;
}

bool TMpegFrameHeader::SameStream(const TMpegFrameHeader& other) const {
  return Version == other.Version && Layer == other.Layer && Rate == other.Rate &&
         (Mode == 3) == (other.Mode == 3);
}

uint32_t TMpegFrameHeader::XingOffset() const {
  if (Version == 1) return Mode == 3 ? 21 : 36;
  return Mode == 3 ? 13 : 21;
}

}  // namespace kiv
