#pragma once
// A stream over a growable block of memory. Positions past the end are allowed;
// writing there fills the gap with zeros.
#include <vector>

#include "base/stream.h"

namespace kiv {

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}

  int64_t GetPosition() override { return FPosition; }
  void SetPosition(int64_t position) override;
  int64_t GetSize() override { return int64_t(FBytes.size()); }
  void SetSize(int64_t size) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;

  const std::vector<uint8_t>& Bytes() const { return FBytes; }

 private:
  std::vector<uint8_t> FBytes;
  int64_t FPosition = 0;
};

}  // namespace kiv
