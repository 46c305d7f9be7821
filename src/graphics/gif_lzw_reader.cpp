#include "graphics/gif_lzw_reader.h"

namespace kiv {

TGifLzwReader::TGifLzwReader(std::span<const uint8_t> data, int minCodeSize)
    : FData(data), FClearCode(1 << minCodeSize), FEndCode(FClearCode + 1), FMinCodeSize(minCodeSize) {
  ResetTable();
}

void TGifLzwReader::ResetTable() {
  FCodeSize = FMinCodeSize + 1;
  FNextCode = FClearCode + 2;
  FPreviousCode = -1;
}

int TGifLzwReader::NextCode() {
  while (FBitCount < FCodeSize) {
    if (FBlockLeft == 0) {
      if (FPosition >= FData.size() || FData[FPosition] == 0) return -1;
      FBlockLeft = FData[FPosition++];
    }
    if (FPosition >= FData.size()) return -1;
    FBits |= uint32_t(FData[FPosition++]) << FBitCount;
    FBitCount += 8;
    --FBlockLeft;
  }
  const int code = int(FBits & ((1u << FCodeSize) - 1));
  FBits >>= FCodeSize;
  FBitCount -= FCodeSize;
  return code;
}

size_t TGifLzwReader::Read(uint8_t* out, size_t count) {
  size_t written = 0;
  while (written < count) {
    if (FPendingCount > 0) {
      out[written++] = FPending[--FPendingCount];
      continue;
    }
    if (FFinished) break;
    int code = NextCode();
    if (code < 0 || code == FEndCode) {
      FFinished = true;
      break;
    }
    if (code == FClearCode) {
      ResetTable();
      continue;
    }
    if (FPreviousCode < 0) {
      // The first code after a clear must be a plain colour index.
      if (code > FClearCode) {
        FFinished = true;
        break;
      }
      FPending[FPendingCount++] = uint8_t(code);
      FFirstOfPrevious = uint8_t(code);
      FPreviousCode = code;
      continue;
    }
    const int received = code;
    if (code > FNextCode) {
      FFinished = true;  // a code the table cannot hold yet: damaged data
      break;
    }
    if (code == FNextCode) {
      // The string the encoder has just added: the previous one plus its own first index.
      FPending[FPendingCount++] = FFirstOfPrevious;
      code = FPreviousCode;
    }
    while (code > FEndCode) {
      FPending[FPendingCount++] = FSuffix[size_t(code)];
      code = FPrefix[size_t(code)];
    }
    FPending[FPendingCount++] = uint8_t(code);
    FFirstOfPrevious = uint8_t(code);
    if (FNextCode < kMaxCodes) {
      FPrefix[size_t(FNextCode)] = uint16_t(FPreviousCode);
      FSuffix[size_t(FNextCode)] = uint8_t(code);
      ++FNextCode;
      if (FNextCode == (1 << FCodeSize) && FCodeSize < 12) ++FCodeSize;
    }
    FPreviousCode = received;
  }
  return written;
}

}  // namespace kiv
