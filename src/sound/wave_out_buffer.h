#pragma once
// One streaming buffer: a ring of 2 seconds of sound in the media's own format, which
// the software mixer plays from and a refill thread keeps topped up from its source.
//
// The play cursor is what the mixer has consumed; the write position what the source
// has written. Both count bytes from the start and never wrap, so a full and an empty
// ring are never confused.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/media_info.h"
#include "sound/wave_out_source.h"

namespace kiv {

class TSoundMixer;
class TBufferRefillThread;

class TWaveOutBuffer {
 public:
  TWaveOutBuffer(std::shared_ptr<TSoundMixer> mixer, const TWaveFormat& format);
  // Stops first: the refill thread is joined and the mixer lets go.
  ~TWaveOutBuffer();
  TWaveOutBuffer(const TWaveOutBuffer&) = delete;
  TWaveOutBuffer& operator=(const TWaveOutBuffer&) = delete;

  const TWaveFormat& Format() const { return FFormat; }
  size_t Size() const { return FRing.size(); }
  // Three quarters of the ring (1.5 seconds), whole frames.
  size_t InitialFillSize() const;
  // Half a second, whole frames: the most one refill writes.
  size_t FillChunk() const { return FChunk; }

  // The linear factor last set (or the one the level stands for).
  float GetVolume() const;
  void SetVolume(float factor);
  // Hundredths of a decibel, -10000..0.
  int32_t Level() const { return FLevel.load(); }

  // Writes the initial fill from source, joins the mix and starts the refill thread.
  void Start(IWaveOutSource& source);
  // Leaves the mix and stops the refill thread; nothing is written or played after it.
  void Stop();
  bool Stopped() const { return FStopped.load(); }

  // Asks the next refill to fade what is queued beyond a point 25 ms past the play
  // cursor. It returns at once, whatever the refill thread is doing.
  void RequestFadeRewrite();
  bool FadeRewritePending() const { return FRewriteRequested.load(); }
  // One refill: a pending rewrite, then at most a fill chunk of new bytes.
  void Refill();

  uint64_t ConsumedBytes() const { return FConsumed.load(); }
  uint64_t WrittenBytes() const;
  size_t QueuedBytes() const;
  // ms of sound played from the buffer.
  double GetTime() const;

  // Adds the frames to come to sum (frameCount frames of the mix format), resampled and
  // scaled by the volume; the mixer calls it under its lock. Runs dry quietly when the
  // source has fallen behind.
  void MixInto(int32_t* sum, size_t frameCount);

 private:
  void Rewrite();
  // Reads the frame at byte position at as a stereo pair in 16-bit range.
  void ReadFrame(uint64_t at, int32_t frame[2]) const;

  std::shared_ptr<TSoundMixer> FMixer;
  const TWaveFormat FFormat;
  const size_t FFrameBytes;
  size_t FChunk;
  std::vector<uint8_t> FRing;
  std::vector<uint8_t> FScratch;
  IWaveOutSource* FSource = nullptr;

  // Serialises refills and stopping (the refill thread, Settle and the owner).
  std::mutex FLock;
  // Guards the ring's bytes and the write position against the mixer.
  mutable std::mutex FRingLock;
  uint64_t FWritten = 0;
  std::atomic<uint64_t> FConsumed{0};
  std::atomic<bool> FRewriteRequested{false};
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FStopped{false};

  std::atomic<int32_t> FLevel{0};
  std::atomic<float> FAmplitude{1};
  std::atomic<float> FCachedFactor{-1};

  // Resampling state, the mixer's own: the position between the current and the next
  // source frame, and those two frames.
  double FPhase = 0;
  double FStep;
  bool FPrimed = false;
  int32_t FCurrent[2] = {0, 0};
  int32_t FNext[2] = {0, 0};

  std::unique_ptr<TBufferRefillThread> FThread;
};

}  // namespace kiv
