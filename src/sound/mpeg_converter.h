#pragma once
// The MPEG audio decoder: frames read from the stream are fed to a libmpg123 decoder of
// its own (feed mode), which gives 16-bit PCM at the first frame's rate, one channel for
// a single-channel stream and two otherwise. Seeking starts a fresh decoder up to 100 ms
// before the time, so the bit reservoir fills, and drops what comes before the time.
#include <cstdint>

#include "sound/wav_converter.h"

struct mpg123_handle_struct;

namespace kiv {

class TMpegConverter : public TWavConverter {
 public:
  ~TMpegConverter() override;
  bool Open(const TMediaInfo& media) override;
  void Seek(double ms) override;

 protected:
  bool Process() override;

 private:
  // A fresh decoder in feed mode; false when libmpg123 refused.
  bool StartDecoder();
  // Decodes the input into FPcm (dropping FDropBytes first).
  void Decode();

  mpg123_handle_struct* FHandle = nullptr;
  TLocalBuffer FPcm;
  uint64_t FDropBytes = 0;  // decoded bytes still to drop after a seek
};

}  // namespace kiv
