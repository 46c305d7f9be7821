#pragma once
// Zero-filled memory for picture pixels. A decoded photo is tens of megabytes that the
// decoder overwrites at once, so the memory is not cleared a second time: large
// buffers come straight from the kernel (already zero) in huge pages where the system
// allows, which saves most of the page faults of touching them.
#include <cstddef>
#include <cstdint>

namespace kiv {

class TPixelBuffer {
 public:
  explicit TPixelBuffer(size_t size);
  ~TPixelBuffer();
  TPixelBuffer(const TPixelBuffer&) = delete;
  TPixelBuffer& operator=(const TPixelBuffer&) = delete;

  uint8_t* data() { return FData; }
  const uint8_t* data() const { return FData; }
  size_t size() const { return FSize; }
  uint8_t& operator[](size_t index) { return FData[index]; }
  uint8_t operator[](size_t index) const { return FData[index]; }

 private:
  uint8_t* FData;
  size_t FSize;
  bool FMapped;
};

}  // namespace kiv
