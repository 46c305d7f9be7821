#pragma once
// One physical playback of a channel: its own stream, decoder and buffer. It goes from
// ready to playing to stopping and is then reaped; it never returns to ready, so a
// fading channel and its successor may sound together.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "base/stream.h"
#include "sound/gain_ramp.h"
#include "sound/local_buffer.h"
#include "sound/media_info.h"
#include "sound/wav_converter.h"
#include "sound/wave_out_source.h"

namespace kiv {

struct TChannelLink;
struct TSoundSource;
class TWaveOutDevice;
class TWaveOutBuffer;

enum class TPhysicalState : uint8_t { Ready = 0, Playing = 1, Stopping = 2 };

class TMusicChannel : public IWaveOutSource, public std::enable_shared_from_this<TMusicChannel> {
 public:
  // Ends are counted this long after the last sample is played.
  static constexpr uint32_t kEndMarginMs = 20;
  // A channel handed over before its end is known is freed at the latest this long
  // after its fade would have ended.
  static constexpr uint32_t kBackstopMs = 3000;

  // Opens name's stream and decoder; none when either fails.
  static std::shared_ptr<TMusicChannel> Open(std::shared_ptr<TChannelLink> link, TWaveOutDevice& device,
                                             const TSoundSource& source, std::u16string_view name,
                                             TMediaInfo media);
  ~TMusicChannel() override;

  // The format sent out: the media's own when it is PCM at 8 or 16 bits, else 16 bits at
  // the media's rate and channel count.
  static TWaveFormat OutputFormatFor(const TMediaInfo& media);

  TPhysicalState State() const { return FState.load(); }
  const TWaveFormat& Format() const { return FFormat; }
  // Ready only: moves to ms and prefetches the initial fill.
  void Seek(double ms);
  // Starts playing with a fade-in (from 0 when nothing was prefetched).
  void Start(uint32_t fadeInMs);
  // Playing only: fades out, heard from about 25 ms on.
  void FadeOut(uint32_t fadeOutMs);
  // The seek base plus what has been played.
  double Position() const;
  void SetVolume(float factor);
  float Volume() const;
  bool EndedByData() const { return FEndedByData.load(); }
  TWaveOutBuffer* Buffer() const { return FBuffer.get(); }
  const std::shared_ptr<TChannelLink>& Link() const { return FLink; }

  // The reaper's side.
  bool DeadlinePassed(uint32_t now) const;
  // Hands the channel to the reaper with a deadline far enough away for a fade that has
  // not ended yet (the owner goes before it).
  void HandOver();

  // The buffer's side.
  void InitialFill(uint8_t* bytes, size_t count) override;
  void Refill(uint8_t* bytes, size_t count, uint64_t at) override;
  void BeginRewrite() override;
  void Rewrite(uint8_t* bytes, size_t count, uint64_t at) override;

 private:
  TMusicChannel(std::shared_ptr<TChannelLink> link, std::u16string_view name, TMediaInfo media);
  // Decodes count bytes into bytes, silence past the end.
  void Produce(uint8_t* bytes, size_t count);
  // Where the sound's data ends in what the buffer was given, at most limit.
  uint64_t DataEndByte(uint64_t limit) const;
  // The last sound lies at endByte of the buffer: the reaper frees the channel once it
  // has been played, plus the margin.
  void ScheduleEnd(uint64_t endByte);
  void ApplyGain(uint8_t* bytes, size_t count, uint64_t at);
  void CheckEndOfData(uint64_t at);

  std::shared_ptr<TChannelLink> FLink;
  std::u16string FName;
  TMediaInfo FMedia;
  TWaveFormat FFormat;
  size_t FFrameBytes = 1;
  std::unique_ptr<TStream> FStream;
  std::unique_ptr<TWavConverter> FConverter;
  TLocalBuffer FPrefetch;
  bool FPrefetched = false;
  std::atomic<TPhysicalState> FState{TPhysicalState::Ready};
  double FSeekBase = 0;

  // The fade, between the owner's thread and the buffer's refills.
  std::mutex FGainLock;
  TGainRamp FRamp;
  bool FFadeOutPending = false;
  uint32_t FFadeOutFrames = 1;

  std::atomic<bool> FEndOfData{false};
  std::atomic<bool> FEndedByData{false};
  bool FDataEndScheduled = false;  // the buffer's refills only

  mutable std::mutex FKillLock;
  bool FHanded = false;
  bool FDeadlineSet = false;
  uint32_t FKillSetAt = 0;
  uint32_t FKillAfter = 0;

  // Last: it goes first, with its refill thread.
  std::unique_ptr<TWaveOutBuffer> FBuffer;
};

}  // namespace kiv
