#pragma once
// What feeds a stream buffer: the physical channel that decodes its sound. The buffer
// calls it with the bytes to write, in the buffer's format; at tells where the bytes lie
// in everything the buffer has been given since it started.
#include <cstddef>
#include <cstdint>

namespace kiv {

class IWaveOutSource {
 public:
  virtual ~IWaveOutSource() = default;
  // The first count bytes, written before the buffer plays.
  virtual void InitialFill(uint8_t* bytes, size_t count) = 0;
  // count new bytes.
  virtual void Refill(uint8_t* bytes, size_t count, uint64_t at) = 0;
  // A fade rewrite begins: called once, before the queued bytes (if any) are rewritten.
  virtual void BeginRewrite() = 0;
  // count bytes already queued, to be rewritten in place (in one or two pieces).
  virtual void Rewrite(uint8_t* bytes, size_t count, uint64_t at) = 0;
};

}  // namespace kiv
