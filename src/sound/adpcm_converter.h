#pragma once
// The MS ADPCM decoder: each block starts with a predictor index, an initial delta and
// two samples per channel, then holds four-bit codes (high nibble first, channels
// alternating) that adapt the delta. Only whole blocks are decoded, except a final short
// block at the end of the data, which gives the samples it holds; the sample count of the
// file's "fact" chunk cuts the padding of the last block.
#include <cstdint>
#include <vector>

#include "sound/wav_converter.h"

namespace kiv {

class TAdpcmConverter : public TWavConverter {
 public:
  bool Open(const TMediaInfo& media) override;
  void Seek(double ms) override;

 protected:
  bool FillInput() override;
  bool Process() override;

 private:
  // Decodes one block of count bytes (at most a block) into FPcm; false when the block
  // names a predictor the format lacks.
  bool DecodeBlock(const uint8_t* block, size_t count);

  uint16_t FChannels = 0;
  uint16_t FBlockAlign = 0;
  uint32_t FSamplesPerBlock = 0;
  uint64_t FTotalFrames = 0;
  int32_t FCoefficients[7][2] = {};
  int FCoefficientCount = 0;
  uint64_t FFramesLeft = 0;  // frames still to deliver
  uint64_t FSkipFrames = 0;  // decoded frames to drop before the sought one
  std::vector<uint8_t> FPcm;     // decoded, not yet delivered
  std::vector<int16_t> FBlock;  // the frames of the block being decoded
};

}  // namespace kiv
