#pragma once
// Where the MPEG audio of a stream lies and how long it plays: an ID3v2 tag is skipped,
// the first frame found byte by byte (and confirmed by the frame after it), a Xing or
// VBRI header read from it, and an ID3v1 trailer left out. Finds the frame to start
// decoding at for a time, walking the frame headers when the file is of variable rate.
#include <cstdint>

#include "base/stream.h"
#include "sound/media_info.h"

namespace kiv {

class TMpegInfo {
 public:
  // Scans the bytes [start, end) of stream; riffBitRate is the bit rate a RIFF file
  // gives its MPEG data (0 when the data stands alone). False when no frame is found.
  static bool Scan(TStream& stream, uint32_t start, uint32_t end, uint32_t riffBitRate, TMediaInfo& media);

  struct TFrame {
    uint64_t Offset = 0;  // in the stream
    double StartMs = 0;   // when the frame starts playing
  };
  // The frame that plays at ms (the last one starting at or before it, as near as a
  // stream without a frame count can tell).
  static TFrame FindFrame(TStream& stream, const TMediaInfo& media, double ms);
};

}  // namespace kiv
