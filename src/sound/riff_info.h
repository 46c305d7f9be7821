#pragma once
// The layout of a RIFF WAVE file: its wave format (with the sub-format of an extensible
// one), the extra bytes of an MS ADPCM format, the sample count of its "fact" chunk and
// where its "data" chunk lies. The chunk walk stays inside the stream and honours the
// pad byte after a chunk of odd size.
#include <cstdint>

#include "base/stream.h"
#include "sound/media_info.h"

namespace kiv {

struct TRiffInfo {
  TWaveFormat Format;  // the tag of an extensible format is its sub-format's
  uint8_t AdpcmExtra[32] = {};
  uint32_t FactSamples = 0;  // frames, 0 when there is no "fact" chunk
  uint32_t DataOffset = 0;
  uint32_t DataSize = 0;  // cut to what the stream holds

  // Reads the file's layout from the start of stream; false when it is not a RIFF WAVE
  // file with a format and a data chunk.
  bool Read(TStream& stream);
};

}  // namespace kiv
