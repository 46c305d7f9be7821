#include "sound/vorbis_converter.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "sound/sound_streams.h"

namespace kiv {
namespace {

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
  if (size == 0 || count > size_t(kMaxLibraryRead) / size) return 0;
  const int64_t got = LibraryRead(*static_cast<TStream*>(source), buffer, int64_t(size * count));
  return got < 0 ? 0 : size_t(got) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int origin) {
  return LibrarySeek(*static_cast<TStream*>(source), offset, origin) < 0 ? -1 : 0;
}

long TellCallback(void* source) {
  try {
    return long(static_cast<TStream*>(source)->GetPosition());
  } catch (const EKivError&) {
    return -1;
  }
}

constexpr ov_callbacks kCallbacks = {ReadCallback, SeekCallback, nullptr, TellCallback};

}  // namespace

// An open vorbisfile reader.
struct TVorbisConverter::TFile {
  OggVorbis_File File{};
  bool Open = false;
  bool Start(TStream& stream) {
    try {
      stream.SetPosition(0);
    } catch (const EKivError&) {
      return false;
    }
    Open = ov_open_callbacks(&stream, &File, nullptr, 0, kCallbacks) == 0;
    return Open;
  }
  ~TFile() {
    if (Open) ov_clear(&File);
  }
};

TVorbisConverter::TVorbisConverter() = default;
TVorbisConverter::~TVorbisConverter() = default;

bool TVorbisConverter::Recognise(TStream& stream, TMediaInfo& media) {
  TFile file;
  if (!file.Start(stream)) return false;
  const vorbis_info* info = ov_info(&file.File, -1);
  if (!info || info->rate <= 0 || info->rate > 1000000 || (info->channels != 1 && info->channels != 2)) return false;
  media.Type = TMediaType::OggVorbis;
  media.DataOffset = 0;
  media.DataSize = uint32_t(std::clamp<int64_t>(stream.GetSize(), 0, UINT32_MAX));
  media.Format = PcmFormat(uint32_t(info->rate), uint16_t(info->channels), 16);
  const ogg_int64_t frames = ov_pcm_total(&file.File, -1);
  media.Duration = frames > 0 ? uint32_t(std::llround(std::min(frames * 1000.0 / info->rate, double(UINT32_MAX)))) : 0;
  return true;
}

bool TVorbisConverter::Open(const TMediaInfo& media) {
  if (!FStream) return false;
  FFile = std::make_unique<TFile>();
  if (!FFile->Start(*FStream)) return false;
  const vorbis_info* info = ov_info(&FFile->File, -1);
  if (!info || PcmFormat(uint32_t(info->rate), uint16_t(info->channels), 16) != media.Format) return false;
  SetDecodedFormat(media.Format);
  return TWavConverter::Open(media);
}

void TVorbisConverter::Seek(double ms) {
  FInput.Clear();
  FOutput.Clear();
  ResetConversion();
  const uint32_t rate = DecodedFormat().Rate;
  if (!FFile || rate == 0) return;
  const double wanted = std::isfinite(ms) ? std::clamp(ms, 0.0, 1e12) * rate / 1000 : 0;
  ogg_int64_t frame = ogg_int64_t(std::llround(wanted));
  const ogg_int64_t total = ov_pcm_total(&FFile->File, -1);
  if (total >= 0) frame = std::min(frame, total);
  if (ov_pcm_seek(&FFile->File, frame) != 0) {
    frame = 0;
    ov_raw_seek(&FFile->File, 0);
  }
  FPosition = double(frame) * 1000 / rate;
}

bool TVorbisConverter::FillInput() {
  if (!FFile || FInput.Size() >= FChunkSize) return false;
  for (int holes = 0; holes < 64; ++holes) {
    int link = 0;
    const size_t room = FChunkSize - FInput.Size();
    const long got = ov_read(&FFile->File, reinterpret_cast<char*>(FInput.WriteSpace(room)), int(room), 0, 2, 1, &link);
    if (got == OV_HOLE) continue;
    if (got <= 0) return false;
    const vorbis_info* info = ov_info(&FFile->File, link);
    if (!info || PcmFormat(uint32_t(info->rate), uint16_t(info->channels), 16) != DecodedFormat()) {
      Log().Write("Ogg Vorbis sound ends where its format changes");
      return false;
    }
    FInput.Commit(size_t(got));
    return true;
  }
  return false;
}

}  // namespace kiv
