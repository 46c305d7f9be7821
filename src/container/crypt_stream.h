#pragma once
// The cipher layer of enciphered show entries: each byte is XORed with the key byte
// at (its position in the inner stream) mod key length, so reading at any position
// deciphers correctly and the cipher is its own inverse.
#include <string>

#include "base/stream.h"

namespace kiv {

class TCryptStream : public TStream {
 public:
  // The inner stream must exist and the key must not be empty (assertions).
  TCryptStream(TStream* inner, std::string key, bool ownsInner);
  ~TCryptStream() override;
  TCryptStream(const TCryptStream&) = delete;
  TCryptStream& operator=(const TCryptStream&) = delete;

  int64_t GetPosition() override { return FInner->GetPosition(); }
  void SetPosition(int64_t position) override { FInner->SetPosition(position); }
  int64_t GetSize() override { return FInner->GetSize(); }
  void SetSize(int64_t size) override { FInner->SetSize(size); }
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;

 private:
  void Apply(uint8_t* bytes, int64_t count, int64_t position) const;

  TStream* FInner;
  bool FFreeInner;
  std::string FKey;
};

}  // namespace kiv
