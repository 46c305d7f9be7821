#pragma once
// The GIF variant of LZW decompression (variable code size up to 12 bits, clear and
// end codes, codes packed least significant bit first across data sub-blocks).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kiv {

class TGifLzwReader {
 public:
  // data holds the sub-block chain of one frame; minCodeSize is 2 … 8.
  TGifLzwReader(std::span<const uint8_t> data, int minCodeSize);

  // Writes up to count colour indices into out and answers how many it wrote: fewer
  // only when the data ends, holds an end code or is damaged.
  size_t Read(uint8_t* out, size_t count);

 private:
  static constexpr int kMaxCodes = 4096;

  int NextCode();  // -1 when the data runs out
  void ResetTable();

  std::span<const uint8_t> FData;
  size_t FPosition = 0;   // next byte of FData
  size_t FBlockLeft = 0;  // bytes left in the current sub-block
  uint32_t FBits = 0;
  int FBitCount = 0;
  bool FFinished = false;

  int FClearCode;
  int FEndCode;
  int FMinCodeSize;
  int FCodeSize = 0;
  int FNextCode = 0;
  int FPreviousCode = -1;  // none since the last clear
  uint8_t FFirstOfPrevious = 0;
  std::array<uint16_t, kMaxCodes> FPrefix{};
  std::array<uint8_t, kMaxCodes> FSuffix{};
  // A string comes out of the table back to front; it waits here to be read out.
  std::array<uint8_t, kMaxCodes + 1> FPending{};
  size_t FPendingCount = 0;
};

}  // namespace kiv
