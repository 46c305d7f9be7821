#pragma once
// The software mixer: the output pulls the mix from it, and it sums every playing
// buffer into the mix format (each resampled and converted from its own format, scaled
// by its volume), clipped to 16 bits.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace kiv {

class TWaveOutBuffer;

class TSoundMixer {
 public:
  // A buffer joins when it starts and leaves when it stops; once Remove returns, the
  // mixer no longer touches it.
  void Add(TWaveOutBuffer* buffer);
  void Remove(TWaveOutBuffer* buffer);
  size_t Count() const;

  // Writes frameCount frames of the mix (interleaved stereo at the output rate).
  void Mix(int16_t* frames, size_t frameCount);
  // Refills every playing buffer now, on the calling thread: a renderer on virtual time
  // calls it before each stretch of the mix, so that what is heard does not hang on
  // when the refill threads happen to run.
  void Settle();

 private:
  mutable std::mutex FLock;
  std::vector<TWaveOutBuffer*> FBuffers;
  std::vector<int32_t> FSum;
};

}  // namespace kiv
