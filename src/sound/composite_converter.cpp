#include "sound/composite_converter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>

#include "base/log.h"

namespace kiv {
namespace {

constexpr double kBytesPerMs = 176.4;

// v × s to the nearest integer, halves away from zero (0.5 × 3 gives 2, 0.5 × -3 gives -2).
inline int64_t Scaled(double v, int64_t s) {
  const double x = std::clamp(v * double(s), -1e15, 1e15);
  return int64_t(x < 0 ? x - 0.5 : x + 0.5);
}

// Sums saturate instead of wrapping, however many loud items meet.
inline void AddTo(int32_t& sum, int64_t value) {
  sum = int32_t(std::clamp<int64_t>(int64_t(sum) + value, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max()));
}

inline int16_t Sample(const uint8_t* bytes) {
  int16_t sample;
  std::memcpy(&sample, bytes, 2);
  return sample;
}

std::u16string ShortName(std::u16string_view name) {
  constexpr size_t kShown = 260;
  return name.size() <= kShown ? std::u16string(name) : std::u16string(name.substr(0, kShown)) + u"...";
}

}  // namespace

TCompositeConverter::TCompositeConverter(TSoundSource source, std::u16string description)
    : FSource(std::move(source)), FDescription(std::move(description)) {
  SetDecodedFormat(MixFormat());
}

TCompositeConverter::~TCompositeConverter() = default;

bool TCompositeConverter::Open(const TMediaInfo&) {
  FItems.clear();
  FPending.clear();
  FOpened.clear();
  FPlaying.clear();
  FFinished.clear();
  FOutput.Clear();
  FSought = false;
  FValid = FParams.FromText(FDescription);
  if (!FValid) return false;
  FMedia = FParams.MediaInfo();
  FEndBytes = MixBytes(FParams.Duration);
  for (TCompositeItem& item : FParams.Items) {
    auto played = std::make_unique<TCompositeItem2>();
    played->Item = std::move(item);
    // An item is heard at most up to the composite's end.
    const int32_t length = std::max(0, std::min(played->Item.Duration, FParams.Duration - played->Item.TimeLine));
    played->Item.Envelopes.Prepare(length);
    played->Start = MixBytes(played->Item.TimeLine);
    played->Length = MixBytes(length);
    FItems.push_back(std::move(played));
  }
  FParams.Items.clear();
  if (FParams.MainVolume) FParams.MainVolume->Prepare(FParams.Duration);
  for (auto& item : FItems) FPending.push_back(item.get());
  SortPending();
  return true;
}

void TCompositeConverter::SortPending() {
  std::stable_sort(FPending.begin(), FPending.end(),
                   [](const TCompositeItem2* a, const TCompositeItem2* b) { return a->Start < b->Start; });
}

bool TCompositeConverter::OpenItem(TCompositeItem2& item) {
  if (item.Converter) return true;
  const std::u16string& name = item.Item.FileName;
  bool opened = false;
  if (FSource.Open && FSource.Recognise && FSource.MakeConverter && !IsCompositeText(name)) {
    try {
      item.Stream = FSource.Open(name, 0);
      std::optional<TMediaInfo> media;
      if (item.Stream) media = FSource.Recognise(*item.Stream, name);
      if (media && media->Type != TMediaType::Unknown && media->Type != TMediaType::Composite) {
        item.Media = *media;
        if (item.Media.LeadingData) {
          // MPEG data inside a RIFF file is read from where it starts.
          item.Stream.reset();
          item.Stream = FSource.Open(name, int64_t(item.Media.DataOffset));
          item.Media.DataOffset = 0;
        }
        if (item.Stream) item.Converter = FSource.MakeConverter(item.Stream.get(), name, item.Media);
        if (item.Converter) {
          item.Converter->SetTargetFormat(MixFormat());
          opened = item.Converter->OutputFormat() == MixFormat();
        }
      }
    } catch (const std::exception&) {
      opened = false;
    }
  }
  if (!opened) {
    CloseItem(item);
    Log().Write(u"Sound of a composite not played: " + ShortName(name));
  }
  return opened;
}

void TCompositeConverter::CloseItem(TCompositeItem2& item) {
  item.Converter.reset();
  item.Stream.reset();
  item.BlockOffset = -1;
}

void TCompositeConverter::Finish(TCompositeItem2* item) {
  CloseItem(*item);
  FFinished.push_back(item);
}

void TCompositeConverter::SeekItem(TCompositeItem2& item, int64_t bytes) {
  if (item.Converter) item.Converter->Seek(item.Item.BeginTime + double(bytes) / kBytesPerMs);
}

void TCompositeConverter::Seek(double ms) {
  FOutput.Clear();
  FSought = true;
  if (!FValid) return;
  if (!std::isfinite(ms)) ms = 0;
  ms = std::clamp(ms, 0.0, double(FParams.Duration));
  FPos = MixBytes(ms);
  FPosition = double(FPos) / kBytesPerMs;

  // Every item goes back to pending; those that sound at ms or start within the next
  // seconds are opened again (keeping a decoder they already have).
  for (TItemList* list : {&FOpened, &FPlaying, &FFinished}) {
    FPending.insert(FPending.end(), list->begin(), list->end());
    list->clear();
  }
  SortPending();
  const int64_t horizon = FPos + MixBytes(kOpenAheadMs);
  size_t next = 0;
  for (; next < FPending.size(); ++next) {
    TCompositeItem2* item = FPending[next];
    item->BlockOffset = -1;
    if (item->Start + item->Length <= FPos || item->Length <= 0) {
      Finish(item);
      continue;
    }
    if (item->Start > horizon || OpenItems() >= kMostOpenItems) break;
    if (!OpenItem(*item)) {
      Finish(item);
      continue;
    }
    if (item->Start < FPos) {
      SeekItem(*item, FPos - item->Start);
      FPlaying.push_back(item);
    } else {
      SeekItem(*item, 0);
      FOpened.push_back(item);
    }
  }
  FPending.erase(FPending.begin(), FPending.begin() + std::ptrdiff_t(next));
  for (TCompositeItem2* item : FPending) CloseItem(*item);
  if (FParams.MainVolume) FParams.MainVolume->SeekAll(FPos);
}

bool TCompositeConverter::Read(size_t count) {
  if (!FSought) Seek(0);
  while (FOutput.Size() < count) {
    if (!FValid || FPos >= FEndBytes) {
      const bool remained = !FOutput.Empty();
      FOutput.AppendFill(0, count - FOutput.Size());
      return remained;
    }
    MixBlock();
  }
  return true;
}

void TCompositeConverter::MixBlock() {
  FSums.fill(0);
  const int64_t blockEnd = FPos + int64_t(kBlockBytes);

  // Opened items due in this block start playing at their own frame.
  for (auto it = FOpened.begin(); it != FOpened.end();) {
    TCompositeItem2* item = *it;
    if (item->Start >= blockEnd) {
      ++it;
      continue;
    }
    if (item->Start >= FPos) {
      item->BlockOffset = item->Start - FPos;
    } else {
      // Opened late (more items were due than may be open at once): joins where the time line is.
      SeekItem(*item, FPos - item->Start);
      item->BlockOffset = -1;
    }
    FPlaying.push_back(item);
    it = FOpened.erase(it);
  }

  for (auto it = FPlaying.begin(); it != FPlaying.end();) {
    bool done = false;
    MixItem(**it, done);
    if (done) {
      Finish(*it);
      it = FPlaying.erase(it);
    } else {
      ++it;
    }
  }

  const size_t bytes = size_t(std::min<int64_t>(int64_t(kBlockBytes), FEndBytes - FPos));
  ApplyMainVolume(bytes / 4);
  uint8_t* out = FOutput.WriteSpace(bytes);
  for (size_t i = 0; i < bytes / 2; ++i) {
    const int16_t sample = int16_t(std::clamp<int32_t>(FSums[i], -32768, 32767));
    std::memcpy(out + 2 * i, &sample, 2);
  }
  FOutput.Commit(bytes);
  FPos += int64_t(bytes);
  FPosition = double(FPos) / kBytesPerMs;
  OpenAhead();
}

void TCompositeConverter::MixItem(TCompositeItem2& item, bool& done) {
  const size_t first = item.BlockOffset >= 0 ? size_t(item.BlockOffset) : 0;
  item.BlockOffset = -1;
  const size_t wanted = kBlockBytes - first;
  if (wanted == 0) return;
  const bool real = item.Converter->Read(wanted);
  TLocalBuffer& output = item.Converter->Output();
  const size_t got = std::min(wanted, output.Size());
  const uint8_t* bytes = output.Data();

  TVolumeParamsList& envelopes = item.Item.Envelopes;
  const int64_t start = FPos + int64_t(first) - item.Start;  // item-relative bytes of the first frame
  envelopes.SeekAll(start);
  int32_t* sums = FSums.data() + first / 2;
  for (size_t frame = 0; frame < got / 4; ++frame) {
    const int64_t pos = start + int64_t(frame) * 4;
    if (pos >= item.Length) {
      done = true;
      break;
    }
    bool unity = true;
    double v = envelopes.Product(unity);
    if (!unity && v > 10) {
      // Guards against drift in the per-frame additions.
      envelopes.SeekAll(pos);
      v = envelopes.Product(unity);
    }
    const int16_t left = Sample(bytes + frame * 4);
    const int16_t right = Sample(bytes + frame * 4 + 2);
    if (unity || (v >= 0.99 && v < 1.01)) {
      AddTo(sums[2 * frame], left);
      AddTo(sums[2 * frame + 1], right);
    } else if (v > 1e-5) {
      AddTo(sums[2 * frame], Scaled(v, left));
      AddTo(sums[2 * frame + 1], Scaled(v, right));
    }
    if (envelopes.StepAll(pos)) {
      done = true;
      break;
    }
  }
  output.Consume(got);
  if (!real) done = true;
}

void TCompositeConverter::ApplyMainVolume(size_t frames) {
  if (!FParams.MainVolume) return;
  TVolumeParamsList& main = *FParams.MainVolume;
  main.SeekAll(FPos);
  for (size_t frame = 0; frame < frames; ++frame) {
    bool unity = true;
    const double m = main.Product(unity);
    if (!unity) {
      for (size_t c = 0; c < 2; ++c) {
        int32_t& sum = FSums[2 * frame + c];
        if (m < 0.001)
          sum = 0;
        else if (m >= 1.01 || (m > 0.001 && m < 0.99))
          sum = int32_t(std::clamp<int64_t>(Scaled(m, sum), std::numeric_limits<int32_t>::min(),
                                            std::numeric_limits<int32_t>::max()));
      }
    }
    main.StepAll(FPos + int64_t(frame) * 4);
  }
}

void TCompositeConverter::OpenAhead() {
  const int64_t horizon = FPos + MixBytes(kOpenAheadMs);
  size_t next = 0;
  for (; next < FPending.size(); ++next) {
    TCompositeItem2* item = FPending[next];
    if (item->Start > horizon) break;
    if (item->Start + item->Length <= FPos || item->Length <= 0) {
      Finish(item);  // over before it could be opened
      continue;
    }
    if (OpenItems() >= kMostOpenItems) break;
    // One that cannot be opened is done with: it is not tried again every block, and
    // the items after it still open.
    if (!OpenItem(*item)) {
      Finish(item);
      continue;
    }
    SeekItem(*item, 0);
    FOpened.push_back(item);
  }
  FPending.erase(FPending.begin(), FPending.begin() + std::ptrdiff_t(next));
}

}  // namespace kiv
