#include "sound/adpcm_converter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "base/log.h"

namespace kiv {
namespace {

constexpr int32_t kStandardCoefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
constexpr int32_t kAdaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
constexpr int64_t kMostDelta = INT32_MAX / 768;

int16_t Int16At(const uint8_t* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }

}  // namespace

bool TAdpcmConverter::Open(const TMediaInfo& media) {
  const TWaveFormat& format = media.Format;
  FChannels = format.Channels;
  FBlockAlign = format.BlockAlign;
  if (FChannels < 1 || FChannels > 2 || format.Rate == 0 || FBlockAlign < 7 * FChannels + FChannels) {
    Log().Write("MS ADPCM sound not played: unusable format");
    return false;
  }
  // The samples a block can hold: two in its header, two per byte after it.
  const uint32_t most = 2 + uint32_t(FBlockAlign - 7 * FChannels) * 2 / FChannels;
  const uint16_t given = uint16_t(media.AdpcmExtra[0] | media.AdpcmExtra[1] << 8);
  FSamplesPerBlock = given == 0 || given > most ? most : given;
  const int count = media.AdpcmExtra[2] | media.AdpcmExtra[3] << 8;
  if (format.ExtraSize >= 32 && count > 0) {
    FCoefficientCount = std::min(count, 7);
    for (int i = 0; i < FCoefficientCount; ++i) {
      FCoefficients[i][0] = Int16At(media.AdpcmExtra + 4 + 4 * i);
      FCoefficients[i][1] = Int16At(media.AdpcmExtra + 6 + 4 * i);
    }
  } else {
    FCoefficientCount = 7;
    std::memcpy(FCoefficients, kStandardCoefficients, sizeof FCoefficients);
  }
  const uint64_t blocks = (media.DataSize + FBlockAlign - 1) / FBlockAlign;
  FTotalFrames = blocks * FSamplesPerBlock;
  if (media.SampleCount > 0) FTotalFrames = std::min<uint64_t>(FTotalFrames, media.SampleCount);
  SetDecodedFormat(PcmFormat(format.Rate, FChannels, 16));
  if (!TWavConverter::Open(media)) return false;
  // Whole blocks only: at least one block per read, however large the block.
  FChunkSize = std::max<size_t>(1, 2048 / FBlockAlign) * FBlockAlign;
  FInput.Reserve(FChunkSize);
  return true;
}

void TAdpcmConverter::Seek(double ms) {
  FInput.Clear();
  FOutput.Clear();
  FPcm.clear();
  ResetConversion();
  if (FSamplesPerBlock == 0) return;
  const double wanted = std::isfinite(ms) ? std::max(0.0, ms) * FMedia.Format.Rate / 1000 : 0;
  const uint64_t frame = std::min<uint64_t>(FTotalFrames, uint64_t(std::llround(std::min(wanted, 1e15))));
  const uint64_t block = frame / FSamplesPerBlock;
  SeekData(block * FBlockAlign);
  FSkipFrames = frame - block * FSamplesPerBlock;
  FFramesLeft = FTotalFrames - block * FSamplesPerBlock;
  FPosition = double(frame) * 1000 / FMedia.Format.Rate;
}

bool TAdpcmConverter::FillInput() {
  if (FInput.Size() < FChunkSize && ReadData(FChunkSize - FInput.Size())) return true;
  // A short last block is still decoded once the data has ended.
  return FDataLeft == 0 && !FInput.Empty();
}

bool TAdpcmConverter::Process() {
  const uint8_t* data = FInput.Data();
  const size_t size = FInput.Size();
  size_t offset = 0;
  bool good = true;
  for (; good && size - offset >= FBlockAlign; offset += FBlockAlign) good = DecodeBlock(data + offset, FBlockAlign);
  if (good && FDataLeft == 0 && offset < size) {
    good = DecodeBlock(data + offset, size - offset);
    offset = size;
  }
  FInput.Consume(offset);
  FPcm.erase(FPcm.begin(), FPcm.begin() + ptrdiff_t(Deliver(FPcm.data(), FPcm.size())));
  return good;
}

bool TAdpcmConverter::DecodeBlock(const uint8_t* block, size_t count) {
  const int channels = FChannels;
  const size_t header = 7 * size_t(channels);
  if (count < header) return true;
  int32_t coef1[2], coef2[2], sample1[2], sample2[2], delta[2];
  for (int c = 0; c < channels; ++c) {
    const int predictor = block[c];
    if (predictor >= FCoefficientCount) {
      Log().WriteValue("MS ADPCM block names an unknown predictor: ", int64_t(predictor));
      return false;
    }
    coef1[c] = FCoefficients[predictor][0];
    coef2[c] = FCoefficients[predictor][1];
    delta[c] = Int16At(block + channels + 2 * c);
    sample1[c] = Int16At(block + 3 * channels + 2 * c);
    sample2[c] = Int16At(block + 5 * channels + 2 * c);
  }
  const size_t frames = size_t(std::min<uint64_t>(FSamplesPerBlock, 2 + (count - header) * 2 / channels));
  // The frames of this block that are delivered: after those a seek skips, up to the
  // file's sample count.
  const size_t skip = size_t(std::min<uint64_t>(FSkipFrames, frames));
  const size_t keep = size_t(std::min<uint64_t>(frames - skip, FFramesLeft));
  FSkipFrames -= skip;
  FFramesLeft -= keep;
  if (keep == 0) return true;
  FBlock.resize(frames * size_t(channels));
  int16_t* out = FBlock.data();
  for (int c = 0; c < channels; ++c) *out++ = int16_t(sample2[c]);
  if (frames >= 2) {
    for (int c = 0; c < channels; ++c) *out++ = int16_t(sample1[c]);
    // Each code adapts its channel's prediction; the delta stays within what the next
    // step's product can hold.
    auto step = [&](int c, int code) {
      const int64_t predicted = (int64_t(sample1[c]) * coef1[c] + int64_t(sample2[c]) * coef2[c]) >> 8;
      const int32_t value = int32_t(std::clamp<int64_t>(predicted + int64_t(code >= 8 ? code - 16 : code) * delta[c], -32768, 32767));
      sample2[c] = sample1[c];
      sample1[c] = value;
      delta[c] = int32_t(std::clamp<int64_t>((int64_t(kAdaptation[code]) * delta[c]) >> 8, 16, kMostDelta));
      *out++ = int16_t(value);
    };
    const uint8_t* codes = block + header;
    const size_t nibbles = (frames - 2) * size_t(channels);
    const int second = channels - 1;  // the channel of a byte's low nibble
    for (size_t n = 0; n + 1 < nibbles; n += 2) {
      step(0, codes[n / 2] >> 4);
      step(second, codes[n / 2] & 15);
    }
    if (nibbles % 2) step(0, codes[nibbles / 2] >> 4);
  }
  // 16-bit PCM is little-endian, as the samples are in memory here.
  static_assert(std::endian::native == std::endian::little);
  const size_t bytes = keep * size_t(channels) * 2;
  const size_t at = FPcm.size();
  FPcm.resize(at + bytes);
  std::memcpy(FPcm.data() + at, FBlock.data() + skip * size_t(channels), bytes);
  return true;
}

}  // namespace kiv
