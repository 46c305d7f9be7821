#include "sound/wave_out_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio_output.h"
#include "sound/buffer_refill_thread.h"
#include "sound/sound_mixer.h"
#include "sound/volume_level.h"

namespace kiv {

namespace {

size_t FrameBytesOf(const TWaveFormat& format) {
  return std::max<size_t>(1, size_t(format.Bits == 8 ? 1 : 2) * std::max<uint16_t>(format.Channels, 1));
}

size_t WholeFrames(size_t bytes, size_t frameBytes) { return bytes / frameBytes * frameBytes; }

}  // namespace

TWaveOutBuffer::TWaveOutBuffer(std::shared_ptr<TSoundMixer> mixer, const TWaveFormat& format)
    : FMixer(std::move(mixer)),
      FFormat(format),
      FFrameBytes(FrameBytesOf(format)),
      FStep(double(std::max<uint32_t>(format.Rate, 1)) / kOutputRate) {
  const size_t bytesPerSecond = size_t(std::max<uint32_t>(format.Rate, 1)) * FFrameBytes;
  FRing.resize(WholeFrames(2 * bytesPerSecond, FFrameBytes));
  FChunk = WholeFrames(bytesPerSecond / 2, FFrameBytes);
}

TWaveOutBuffer::~TWaveOutBuffer() { Stop(); }

size_t TWaveOutBuffer::InitialFillSize() const { return WholeFrames(FRing.size() * 3 / 4, FFrameBytes); }

float TWaveOutBuffer::GetVolume() const {
  const float cached = FCachedFactor.load();
  return cached >= 0 ? cached : FactorFromLevel(FLevel.load());
}

void TWaveOutBuffer::SetVolume(float factor) {
  const int32_t level = LevelFromFactor(factor);
  FLevel = level;
  FAmplitude = AmplitudeFromLevel(level);
  FCachedFactor = std::max(factor, 0.0f);
}

void TWaveOutBuffer::Start(IWaveOutSource& source) {
  {
    std::lock_guard lock(FLock);
    if (FStarted || FStopped) return;
    FSource = &source;
    {
      std::lock_guard ring(FRingLock);
      const size_t initial = InitialFillSize();
      source.InitialFill(FRing.data(), initial);
      FWritten = initial;
    }
    FStarted = true;
  }
  // Joined to the mix outside the refill lock: settling the mixer takes the mixer's lock
  // and then each buffer's, never the other way round.
  FMixer->Add(this);
  bool stopped = false;
  {
    std::lock_guard lock(FLock);
    stopped = FStopped;
    if (!stopped) {
      FThread = std::make_unique<TBufferRefillThread>(*this);
      FThread->Start();
    }
  }
  // Stopped meanwhile: out of the mix again.
  if (stopped) FMixer->Remove(this);
}

void TWaveOutBuffer::Stop() {
  // Out of the mix first, so the mixer stops reading; then the thread, outside the
  // refill lock it takes itself.
  FMixer->Remove(this);
  if (FThread) FThread->Stop();
  std::lock_guard lock(FLock);
  FStopped = true;
}

void TWaveOutBuffer::RequestFadeRewrite() {
  FRewriteRequested = true;
  if (FThread) FThread->Wake();
}

uint64_t TWaveOutBuffer::WrittenBytes() const {
  std::lock_guard ring(FRingLock);
  return FWritten;
}

size_t TWaveOutBuffer::QueuedBytes() const {
  std::lock_guard ring(FRingLock);
  return size_t(FWritten - FConsumed.load());
}

double TWaveOutBuffer::GetTime() const {
  const double bytesPerMs = double(std::max<uint32_t>(FFormat.Rate, 1)) * double(FFrameBytes) / 1000.0;
  return double(FConsumed.load()) / bytesPerMs;
}

void TWaveOutBuffer::Refill() {
  std::lock_guard lock(FLock);
  if (!FStarted || FStopped) return;
  if (FRewriteRequested.exchange(false)) Rewrite();
  size_t count;
  uint64_t at;
  {
    std::lock_guard ring(FRingLock);
    count = WholeFrames(std::min(FRing.size() - size_t(FWritten - FConsumed.load()), FChunk), FFrameBytes);
    at = FWritten;
  }
  if (count == 0) return;
  // Decoded outside the ring's lock: the mixer never waits for the decoder.
  FScratch.resize(count);
  FSource->Refill(FScratch.data(), count, at);
  std::lock_guard ring(FRingLock);
  const size_t offset = size_t(at % FRing.size());
  const size_t first = std::min(count, FRing.size() - offset);
  std::memcpy(FRing.data() + offset, FScratch.data(), first);
  std::memcpy(FRing.data(), FScratch.data() + first, count - first);
  FWritten = at + count;
}

void TWaveOutBuffer::Rewrite() {
  std::lock_guard ring(FRingLock);
  FSource->BeginRewrite();
  // A fade is heard from about 25 ms past what is playing; what lies before that point
  // may be in the output already.
  const uint64_t point = FConsumed.load() + uint64_t(FFormat.Rate / 40) * FFrameBytes;
  if (point >= FWritten) return;
  const size_t count = size_t(FWritten - point);
  const size_t offset = size_t(point % FRing.size());
  const size_t first = std::min(count, FRing.size() - offset);
  FSource->Rewrite(FRing.data() + offset, first, point);
  if (count > first) FSource->Rewrite(FRing.data(), count - first, point + first);
}

void TWaveOutBuffer::ReadFrame(uint64_t at, int32_t frame[2]) const {
  const uint8_t* bytes = FRing.data() + size_t(at % FRing.size());
  const int channels = FFormat.Channels;
  for (int c = 0; c < 2; ++c) {
    const int source = channels == 1 ? 0 : c;
    if (FFormat.Bits == 8) {
      frame[c] = (int32_t(bytes[source]) - 128) * 256;
    } else {
      int16_t value;
      std::memcpy(&value, bytes + 2 * source, 2);
      frame[c] = value;
    }
  }
}

void TWaveOutBuffer::MixInto(int32_t* sum, size_t frameCount) {
  std::lock_guard ring(FRingLock);
  const float amplitude = FAmplitude.load();
  const bool scaled = amplitude != 1.0f;
  uint64_t consumed = FConsumed.load();
  uint64_t available = (FWritten - consumed) / FFrameBytes;

  if (FFormat.Rate == kOutputRate && FFormat.Channels == 2 && FFormat.Bits == 16) {
    // The mix format itself: summed as it stands, in at most two runs of the ring.
    size_t frames = size_t(std::min<uint64_t>(available, frameCount));
    int32_t* to = sum;
    while (frames > 0) {
      const size_t offset = size_t(consumed % FRing.size());
      const size_t run = std::min(frames, (FRing.size() - offset) / FFrameBytes);
      const auto* from = reinterpret_cast<const int16_t*>(FRing.data() + offset);
      if (scaled) {
        for (size_t i = 0; i < 2 * run; ++i) to[i] += int32_t(std::lround(float(from[i]) * amplitude));
      } else {
        for (size_t i = 0; i < 2 * run; ++i) to[i] += from[i];
      }
      to += 2 * run;
      consumed += run * FFrameBytes;
      frames -= run;
    }
    FConsumed = consumed;
    return;
  }

  // Linear interpolation between the current and the next source frame.
  auto take = [&](int32_t frame[2]) {
    ReadFrame(consumed, frame);
    consumed += FFrameBytes;
    --available;
  };
  if (!FPrimed) {
    if (available < 2) return;
    take(FCurrent);
    take(FNext);
    FPrimed = true;
  }
  for (size_t i = 0; i < frameCount; ++i) {
    // The frames this output frame moves past must be there.
    const uint64_t advance = uint64_t(FPhase + FStep);
    if (advance > available) break;
    for (int c = 0; c < 2; ++c) {
      const double value = FCurrent[c] + (FNext[c] - FCurrent[c]) * FPhase;
      sum[2 * i + c] += int32_t(std::lround(value * amplitude));
    }
    FPhase += FStep;
    while (FPhase >= 1) {
      FPhase -= 1;
      FCurrent[0] = FNext[0];
      FCurrent[1] = FNext[1];
      take(FNext);
    }
  }
  FConsumed = consumed;
}

}  // namespace kiv
