#pragma once
// One MPEG audio frame header (layers I to III of MPEG-1, MPEG-2 and MPEG-2.5): what the
// frame holds and how long it is.
#include <cstdint>

namespace kiv {

struct TMpegFrameHeader {
  uint8_t Version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  uint8_t Layer = 0;    // 1 to 3
  uint8_t Mode = 0;     // 3 single channel
  bool Padding = false;
  uint32_t BitRate = 0;  // bits per second, 0 for free format
  uint32_t Rate = 0;
  uint32_t FrameBytes = 0;  // 0 for free format unless its frame size is known
  uint32_t Samples = 0;     // per channel
  uint32_t Word = 0;        // the four header bytes, big-endian

  // Reads the header at bytes; false when they are not a valid frame header. A free
  // format frame takes freeBytes (without its padding) as its size.
  bool Parse(const uint8_t* bytes, uint32_t freeBytes = 0);
  // Whether other comes from the same stream: the same version, layer, rate and mode
  // of coding.
  bool SameStream(const TMpegFrameHeader& other) const;
  uint16_t Channels() const { return Mode == 3 ? 1 : 2; }
  double Ms() const { return Rate ? Samples * 1000.0 / Rate : 0; }
  // Where a Xing header lies in the frame: after the header and the side information.
  uint32_t XingOffset() const;
};

}  // namespace kiv
