#pragma once
// What a sound is: the media information record that recognising a sound's first bytes
// gives (where its data lies, how long it plays, how it is coded), and the wave format
// of PCM data.
#include <cstdint>

namespace kiv {

// A wave format as sound files record it (the 18 bytes of a WAVEFORMATEX).
struct TWaveFormat {
  uint16_t Tag = 0;  // 1 PCM, 2 MS ADPCM, 3 IEEE float, 85 MPEG layer 3
  uint16_t Channels = 0;
  uint32_t Rate = 0;            // frames per second
  uint32_t BytesPerSecond = 0;
  uint16_t BlockAlign = 0;      // bytes per frame (per block for ADPCM)
  uint16_t Bits = 0;            // per sample
  uint16_t ExtraSize = 0;
  bool operator==(const TWaveFormat&) const = default;
};

// PCM of rate, channels and bits.
TWaveFormat PcmFormat(uint32_t rate, uint16_t channels, uint16_t bits);
// The format everything is mixed in: 44100 Hz, stereo, 16 bits.
TWaveFormat MixFormat();

enum class TMediaType : uint8_t {
  Unknown = 0,
  PcmWav = 1,
  AdpcmWav = 2,
  FloatWav = 3,
  Mpeg = 4,
  Wma = 5,
  OggVorbis = 6,
  Composite = 9,
  MediaLibrary = 10,  // the sound of a video or any other file the media library reads
};

struct TMediaInfo {
  uint32_t DataOffset = 0;  // the first byte of sound data in the stream
  uint32_t DataSize = 0;    // bytes
  uint32_t Duration = 0;    // ms
  uint32_t FrameCount = 0;  // MPEG frames (from a Xing or VBRI header), 0 when unknown
  uint32_t BitRate = 0;     // MPEG: bits per second of the first frame (or of the RIFF)
  float BytesPerMs = 0;     // MPEG
  bool LeadingData = false; // MPEG inside RIFF: the data starts at DataOffset
  TMediaType Type = TMediaType::Unknown;
  TWaveFormat Format;       // for MPEG, Ogg and the media library: the PCM they decode to
  uint8_t AdpcmExtra[32] = {};  // MS ADPCM: the format's extra bytes (samples per block, coefficients)
  uint32_t SampleCount = 0;  // MS ADPCM: the frames the data holds (its "fact" chunk), 0 when unknown
  bool Xing = false;        // MPEG: a Xing header was found
  int32_t StreamNumber = -1;  // "file?N": the audio stream the media library plays; -1 the first
};

}  // namespace kiv
