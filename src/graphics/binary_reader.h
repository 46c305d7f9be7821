#pragma once
// Reads the little-endian fields of a stored record from bytes in memory. A read past
// the end gives 0 (an empty text) and marks the reader failed, so a record can be read
// field by field and checked once; counts are checked against Left() before anything is
// sized by them.
#include <cstdint>
#include <span>
#include <string>

namespace kiv {

class TBinaryReader {
 public:
  explicit TBinaryReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}

  int32_t Int32();
  uint16_t UInt16();
  float Float();
  // An int32 count of UTF-16 units, then the units; a count below 0, above maxUnits or
  // beyond the bytes left fails.
  std::u16string Text(int32_t maxUnits);

  size_t Left() const { return FBytes.size() - FPosition; }
  bool Failed() const { return FFailed; }
  // Marks the record damaged (a count out of range, say).
  void Fail() { FFailed = true; }

 private:
  // The next size bytes, or null (and failed) when fewer are left.
  const uint8_t* Take(size_t size);

  std::span<const uint8_t> FBytes;
  size_t FPosition = 0;
  bool FFailed = false;
};

}  // namespace kiv
