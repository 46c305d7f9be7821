#include "sound/music_channel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/clock.h"
#include "sound/channel_killer.h"
#include "sound/channel_link.h"
#include "sound/sound_source.h"
#include "sound/wave_out_buffer.h"
#include "sound/wave_out_device.h"

namespace kiv {

TMusicChannel::TMusicChannel(std::shared_ptr<TChannelLink> link, std::u16string_view name, TMediaInfo media)
    : FLink(std::move(link)), FName(name), FMedia(media), FFormat(OutputFormatFor(media)) {
  FFrameBytes = std::max<size_t>(1, size_t(FFormat.Bits / 8) * FFormat.Channels);
}

TMusicChannel::~TMusicChannel() {
  // The buffer's refill thread calls into this channel: it ends first.
  if (FBuffer) FBuffer->Stop();
}

TWaveFormat TMusicChannel::OutputFormatFor(const TMediaInfo& media) {
  const TWaveFormat& own = media.Format;
  if (own.Tag == 1 && (own.Bits == 8 || own.Bits == 16)) return own;
  TWaveFormat pcm;
  pcm.Tag = 1;
  pcm.Channels = own.Channels;
  pcm.Rate = own.Rate;
  pcm.Bits = 16;
  pcm.BlockAlign = uint16_t(own.Channels * 2);
  pcm.BytesPerSecond = own.Rate * pcm.BlockAlign;
  pcm.ExtraSize = 0;
  return pcm;
}

std::shared_ptr<TMusicChannel> TMusicChannel::Open(std::shared_ptr<TChannelLink> link, TWaveOutDevice& device,
                                                   const TSoundSource& source, std::u16string_view name,
                                                   TMediaInfo media) {
  std::shared_ptr<TMusicChannel> channel(new TMusicChannel(std::move(link), name, media));
  // A composite opens the files of its items itself.
  if (media.Type != TMediaType::Composite) {
    if (!source.Open || !source.MakeConverter) return nullptr;
    // MPEG data inside a RIFF file is read from where it starts.
    channel->FStream = source.Open(name, media.LeadingData ? int64_t(media.DataOffset) : 0);
    if (!channel->FStream) return nullptr;
    if (media.LeadingData) channel->FMedia.DataOffset = 0;
  }
  channel->FConverter = source.Decoder(channel->FStream.get(), name, channel->FMedia);
  if (!channel->FConverter) return nullptr;
  if (!(channel->FConverter->OutputFormat() == channel->FFormat)) channel->FConverter->SetTargetFormat(channel->FFormat);
  channel->FBuffer = device.CreateBuffer(channel->FFormat);
  if (!channel->FBuffer) return nullptr;
  return channel;
}

void TMusicChannel::Produce(uint8_t* bytes, size_t count) {
  size_t taken = 0;
  if (!FEndOfData) {
    const bool real = FConverter->Read(count);
    TLocalBuffer& output = FConverter->Output();
    taken = std::min(count, output.Size());
    std::memcpy(bytes, output.Data(), taken);
    output.Consume(taken);
    if (!real) FEndOfData = true;
  }
  std::memset(bytes + taken, FFormat.Bits == 8 ? 128 : 0, count - taken);
}

void TMusicChannel::Seek(double ms) {
  if (State() != TPhysicalState::Ready) return;
  FSeekBase = ms;
  FConverter->Seek(ms);
  FEndOfData = false;
  FPrefetch.Clear();
  const size_t count = FBuffer->InitialFillSize();
  Produce(FPrefetch.WriteSpace(count), count);
  FPrefetch.Commit(count);
  FPrefetched = true;
}

void TMusicChannel::Start(uint32_t fadeInMs) {
  if (State() != TPhysicalState::Ready) return;
  if (!FPrefetched) Seek(0);
  FState = TPhysicalState::Playing;
  {
    std::lock_guard lock(FGainLock);
    FRamp.BeginFadeIn(TGainRamp::FadeFrames(fadeInMs, FFormat.Rate));
  }
  FBuffer->Start(*this);
}

void TMusicChannel::FadeOut(uint32_t fadeOutMs) {
  if (State() != TPhysicalState::Playing) return;
  FState = TPhysicalState::Stopping;
  {
    std::lock_guard lock(FGainLock);
    FFadeOutFrames = TGainRamp::FadeFrames(fadeOutMs, FFormat.Rate);
    FFadeOutPending = true;
  }
  FBuffer->RequestFadeRewrite();
}

double TMusicChannel::Position() const {
  return FSeekBase + (State() == TPhysicalState::Ready ? 0.0 : FBuffer->GetTime());
}

void TMusicChannel::SetVolume(float factor) { FBuffer->SetVolume(factor); }

float TMusicChannel::Volume() const { return FBuffer->GetVolume(); }

void TMusicChannel::InitialFill(uint8_t* bytes, size_t count) {
  const size_t taken = std::min(count, FPrefetch.Size());
  std::memcpy(bytes, FPrefetch.Data(), taken);
  std::memset(bytes + taken, FFormat.Bits == 8 ? 128 : 0, count - taken);
  FPrefetch = TLocalBuffer();  // freed
  ApplyGain(bytes, count, 0);
  CheckEndOfData(0);
}

void TMusicChannel::Refill(uint8_t* bytes, size_t count, uint64_t at) {
  Produce(bytes, count);
  ApplyGain(bytes, count, at);
  CheckEndOfData(at);
}

void TMusicChannel::BeginRewrite() {
  std::lock_guard lock(FGainLock);
  if (!FFadeOutPending) return;
  FFadeOutPending = false;
  FRamp.BeginFadeOut(FFadeOutFrames);
}

void TMusicChannel::Rewrite(uint8_t* bytes, size_t count, uint64_t at) { ApplyGain(bytes, count, at); }

void TMusicChannel::ApplyGain(uint8_t* bytes, size_t count, uint64_t at) {
  int64_t silentFrom;
  {
    std::lock_guard lock(FGainLock);
    silentFrom = FRamp.Apply(bytes, count, FFormat);
  }
  if (silentFrom >= 0) ScheduleEnd(at + uint64_t(silentFrom) * FFrameBytes);
}

uint64_t TMusicChannel::DataEndByte(uint64_t limit) const {
  if (FMedia.Duration == 0) return limit;
  const double ms = std::max(0.0, double(FMedia.Duration) - FSeekBase);
  const uint64_t frames = uint64_t(std::llround(ms * FFormat.Rate / 1000.0));
  return std::min(limit, frames * FFrameBytes);
}

void TMusicChannel::CheckEndOfData(uint64_t at) {
  // The refill that found nothing more began at at: the data ended there or earlier.
  if (!FEndOfData || FDataEndScheduled) return;
  FDataEndScheduled = true;
  FEndedByData = true;
  ScheduleEnd(DataEndByte(at));
}

void TMusicChannel::ScheduleEnd(uint64_t endByte) {
  const uint64_t consumed = FBuffer->ConsumedBytes();
  const double bytesPerMs = double(FFormat.Rate) * double(FFrameBytes) / 1000.0;
  const double left = endByte > consumed ? double(endByte - consumed) / bytesPerMs : 0.0;
  bool first;
  {
    std::lock_guard lock(FKillLock);
    FKillSetAt = Clock().NowMs();
    FKillAfter = uint32_t(std::lround(left)) + kEndMarginMs;
    FDeadlineSet = true;
    first = !FHanded;
    FHanded = true;
  }
  if (!first) return;
  // Not while the channel is being freed (its refill thread may end a fade meanwhile).
  if (auto self = weak_from_this().lock()) ChannelKiller().Add(std::move(self));
}

void TMusicChannel::HandOver() {
  {
    std::lock_guard lock(FKillLock);
    if (FHanded) return;
    FHanded = true;
    FKillSetAt = Clock().NowMs();
    uint32_t fadeMs;
    {
      std::lock_guard gain(FGainLock);
      fadeMs = uint32_t(uint64_t(FFadeOutFrames) * 1000 / std::max<uint32_t>(FFormat.Rate, 1));
    }
    FKillAfter = kBackstopMs + fadeMs;
    FDeadlineSet = true;
  }
  if (auto self = weak_from_this().lock()) ChannelKiller().Add(std::move(self));
}

bool TMusicChannel::DeadlinePassed(uint32_t now) const {
  std::lock_guard lock(FKillLock);
  return FDeadlineSet && uint32_t(now - FKillSetAt) >= FKillAfter;
}

}  // namespace kiv
