#include "sound/converter_factory.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/log.h"
#include "base/text.h"
#include "sound/adpcm_converter.h"
#include "sound/composite_params.h"
#include "sound/media_library_converter.h"
#include "sound/mpeg_converter.h"
#include "sound/mpeg_info.h"
#include "sound/riff_info.h"
#include "sound/sound_source.h"
#include "sound/sound_streams.h"
#include "sound/vorbis_converter.h"

namespace kiv {
namespace {

std::u16string Extension(std::u16string_view file) {
  const size_t dot = file.rfind(u'.');
  const size_t slash = file.find_last_of(u"/\\");
  if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && slash > dot)) return {};
  return LowerCase(file.substr(dot));
}

uint32_t RoundedMs(double ms) { return uint32_t(std::llround(std::clamp(ms, 0.0, double(UINT32_MAX)))); }

// PCM and float WAV data this player reads: 8 to 32-bit integers or 32 and 64-bit
// floats, in whole frames, on one, two or six channels.
bool UsablePcm(const TWaveFormat& format) {
  const bool floats = format.Tag == 3;
  const bool bits = floats ? format.Bits == 32 || format.Bits == 64
                           : format.Bits == 8 || format.Bits == 16 || format.Bits == 24 || format.Bits == 32;
  if (!bits || format.Rate == 0 || format.Rate > 1000000 || format.BlockAlign != format.Channels * (format.Bits / 8)) {
    Log().Write("WAV sound not played: " + std::to_string(format.Bits) + "-bit samples in blocks of " +
                std::to_string(format.BlockAlign) + " bytes at " + std::to_string(format.Rate) + " Hz");
    return false;
  }
  if (format.Channels != 1 && format.Channels != 2 && format.Channels != 6) {
    Log().WriteValue("WAV sound not played, channel layout not mixed down: channels ", int64_t(format.Channels));
    return false;
  }
  return true;
}

std::optional<TMediaInfo> RiffMedia(TStream& stream) {
  TRiffInfo riff;
  if (!riff.Read(stream)) return std::nullopt;
  TMediaInfo media;
  media.DataOffset = riff.DataOffset;
  media.DataSize = riff.DataSize;
  media.Format = riff.Format;
  switch (riff.Format.Tag) {
    case 1:
    case 3: {
      if (!UsablePcm(riff.Format)) return std::nullopt;
      media.Type = riff.Format.Tag == 1 ? TMediaType::PcmWav : TMediaType::FloatWav;
      const double bytesPerSecond = double(riff.Format.Rate) * riff.Format.BlockAlign;
      media.Format.BytesPerSecond = uint32_t(bytesPerSecond);
      media.Duration = RoundedMs(riff.DataSize / bytesPerSecond * 1000);
      return media;
    }
    case 2: {
      media.Type = TMediaType::AdpcmWav;
      std::memcpy(media.AdpcmExtra, riff.AdpcmExtra, sizeof media.AdpcmExtra);
      media.SampleCount = riff.FactSamples;
      const TWaveFormat& f = riff.Format;
      if (f.Rate == 0 || f.Channels == 0 || f.BlockAlign <= 7 * f.Channels) return std::nullopt;
      const uint16_t perBlock = uint16_t(riff.AdpcmExtra[0] | riff.AdpcmExtra[1] << 8);
      const uint64_t blocks = (uint64_t(riff.DataSize) + f.BlockAlign - 1) / f.BlockAlign;
      uint64_t frames = blocks * (perBlock ? perBlock : 2 + (f.BlockAlign - 7 * f.Channels) * 2 / f.Channels);
      if (riff.FactSamples > 0) frames = std::min<uint64_t>(frames, riff.FactSamples);
      media.Duration = RoundedMs(double(frames) * 1000 / f.Rate);
      return media;
    }
    case 80:
    case 85: {
      // MPEG audio inside RIFF: played from a view that starts at the data.
      TMediaInfo mpeg;
      if (!TMpegInfo::Scan(stream, riff.DataOffset, riff.DataOffset + riff.DataSize, riff.Format.BytesPerSecond * 8, mpeg))
        return std::nullopt;
      mpeg.LeadingData = true;
      return mpeg;
    }
    default:
      return std::nullopt;
  }
}

std::optional<TMediaInfo> MpegMedia(TStream& stream) {
  TMediaInfo media;
  const int64_t size = stream.GetSize();
  if (size <= 0 || !TMpegInfo::Scan(stream, 0, uint32_t(std::min<int64_t>(size, UINT32_MAX)), 0, media)) return std::nullopt;
  return media;
}

}  // namespace

std::optional<TMediaInfo> RecogniseMedia(TStream& stream, std::u16string_view name) {
  const TSoundName sound = SplitSoundName(name);
  uint8_t head[8];
  try {
    stream.SetPosition(0);
    if (stream.Read(head, 8) != 8) return std::nullopt;
  } catch (const EKivError&) {
    return std::nullopt;
  }
  std::optional<TMediaInfo> media;
  const std::u16string extension = Extension(sound.File);
  try {
    if (std::memcmp(head, "RIFF", 4) == 0) media = RiffMedia(stream);
    if (!media && (extension == u".mp3" || extension == u".mp2" || extension == u".mp1")) media = MpegMedia(stream);
    if (!media && std::memcmp(head, "OggS", 4) == 0) {
      TMediaInfo ogg;
      if (TVorbisConverter::Recognise(stream, ogg)) media = ogg;
    }
    if (!media) {
      TMediaInfo other;
      if (TMediaLibraryConverter::Recognise(stream, sound.StreamNumber, other)) media = other;
    }
  } catch (const EKivError&) {
    media.reset();
  }
  if (media) media->StreamNumber = sound.StreamNumber;
  return media;
}

std::unique_ptr<TWavConverter> MakeConverter(TStream* stream, std::u16string_view, const TMediaInfo& media) {
  std::unique_ptr<TWavConverter> converter;
  switch (media.Type) {
    case TMediaType::PcmWav:
    case TMediaType::FloatWav:
      converter = std::make_unique<TWavConverter>();
      break;
    case TMediaType::AdpcmWav:
      converter = std::make_unique<TAdpcmConverter>();
      break;
    case TMediaType::Mpeg:
      converter = std::make_unique<TMpegConverter>();
      break;
    case TMediaType::OggVorbis:
      converter = std::make_unique<TVorbisConverter>();
      break;
    case TMediaType::Wma:
    case TMediaType::MediaLibrary:
      converter = std::make_unique<TMediaLibraryConverter>();
      break;
    default:
      Log().WriteValue("No decoder for sound type ", int64_t(media.Type));
      return nullptr;
  }
  converter->SetStream(stream);
  if (!converter->Open(media)) return nullptr;
  return converter;
}

std::optional<TOpenedSound> OpenSound(std::u16string_view name, const TSoundOpener& open) {
  TOpenedSound sound;
  if (IsCompositeText(name)) {
    // Mixed from its items, which open through the same opener; no stream of its own.
    const TSoundSource source = ShowSoundSource(open);
    std::optional<TMediaInfo> media = source.Describe(name);
    if (!media) return std::nullopt;
    sound.Media = *media;
    sound.Converter = source.Decoder(nullptr, name, sound.Media);
    if (!sound.Converter) return std::nullopt;
    return sound;
  }
  sound.Stream = OpenSoundStream(name, open);
  if (!sound.Stream) return std::nullopt;
  std::optional<TMediaInfo> media = RecogniseMedia(*sound.Stream, name);
  if (!media) return std::nullopt;
  sound.Media = *media;
  if (sound.Media.LeadingData) {
    sound.Stream = OpenSoundStream(name, open, sound.Media.DataOffset);
    if (!sound.Stream) return std::nullopt;
    sound.Media.DataOffset = 0;
  }
  sound.Converter = MakeConverter(sound.Stream.get(), name, sound.Media);
  if (!sound.Converter) return std::nullopt;
  return sound;
}

}  // namespace kiv
