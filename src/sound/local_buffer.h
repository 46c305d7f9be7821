#pragma once
// A growable byte buffer consumed from the front: decoders append what they decode and
// channels take what they send out.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kiv {

class TLocalBuffer {
 public:
  const uint8_t* Data() const { return FBytes.data(); }
  uint8_t* Data() { return FBytes.data(); }
  size_t Size() const { return FUsed; }
  size_t Capacity() const { return FBytes.size(); }
  size_t Free() const { return FBytes.size() - FUsed; }
  bool Empty() const { return FUsed == 0; }

  // Grows the capacity so that at least count bytes are free.
  void Reserve(size_t count);
  // Appends count bytes (growing as needed).
  void Append(const void* bytes, size_t count);
  // Appends count bytes of value.
  void AppendFill(uint8_t value, size_t count);
  // Drops count bytes (at most what is held) from the front.
  void Consume(size_t count);
  void Clear() { FUsed = 0; }
  // Makes room for count more bytes at the end and answers where they go; Commit then
  // says how many were written.
  uint8_t* WriteSpace(size_t count);
  void Commit(size_t count);

 private:
  std::vector<uint8_t> FBytes;
  size_t FUsed = 0;
};

}  // namespace kiv
