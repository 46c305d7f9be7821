#include "music/sound_chain.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

#include "base/log.h"
#include "base/memory_stream.h"
#include "sound/play_list.h"
#include "sound/volume_params.h"

namespace kiv {

namespace {

constexpr std::u16string_view kChainPrefix = u"\x01KivChain:";
constexpr char16_t kSeparator = u';';
// More entries than any show's playlist holds; a name claiming more is malformed.
constexpr size_t kMostEntries = 1000000;
// The most frames one step of a read decodes or pads, so a read never holds much more
// than it was asked for.
constexpr int64_t kPieceFrames = 16384;
constexpr size_t kFrameBytes = 4;

void AppendNumber(std::u16string& to, double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  to.append(text, result.ptr);
  to += kSeparator;
}

// Reads a number ended by the separator at pos; false when there is none.
bool ReadNumber(std::u16string_view name, size_t& pos, double& value) {
  const size_t end = name.find(kSeparator, pos);
  if (end == std::u16string_view::npos || end - pos > 60) return false;
  std::string text;
  for (size_t i = pos; i < end; ++i) {
    if (name[i] > 127) return false;
    text += char(name[i]);
  }
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value)) return false;
  pos = end + 1;
  return true;
}

// The chain's sound: decodes its entries in turn through the inner source, each in the
// mix format, cut or padded to its planned length on the chain's time line. An entry
// that cannot be opened is silence for its length; the last entry of a chain that does
// not repeat ends with its own sound.
class TChainConverter : public TWavConverter {
 public:
  TChainConverter(TSoundChain chain, TSoundSource inner) : FChain(std::move(chain)), FInner(std::move(inner)) {
    SetDecodedFormat(MixFormat());
  }

  bool Open(const TMediaInfo& media) override {
    FMedia = media;
    Seek(0);
    return true;
  }

  void Seek(double ms) override {
    FOutput.Clear();
    CloseEntry();
    FEnded = false;
    FFrame = MixFrames(std::isfinite(ms) ? std::max(0.0, ms) : 0.0);
    FIndex = FirstIndexAt(FFrame);
    FPosition = double(FFrame) * 1000 / 44100;
  }

  bool Read(size_t count) override {
    const size_t wanted = count - count % kFrameBytes;
    bool produced = false;
    while (FOutput.Size() < wanted && !FEnded) {
      if (!FEntryOpen && !OpenEntry()) {
        FEnded = true;
        break;
      }
      const int64_t need = std::min<int64_t>(int64_t((wanted - FOutput.Size()) / kFrameBytes), kPieceFrames);
      if (FFrame < FEntryFrom) {  // a pause between entries
        Pad(std::min(need, FEntryFrom - FFrame));
      } else if (FFrame >= FEntryTo) {
        CloseEntry();
        ++FIndex;
        continue;
      } else if (!Decode(std::min(need, FEntryTo - FFrame))) {
        // The entry's sound ended before its planned end.
        if (LastEntry()) {
          FEnded = true;
          break;
        }
        Pad(std::min(need, FEntryTo - FFrame));
      }
      produced = true;
    }
    FPosition = double(FFrame) * 1000 / 44100;
    return produced || FOutput.Size() > 0;
  }

 private:
  bool LastEntry() const { return !FChain.Endless() && FIndex + 1 >= int64_t(FChain.Entries.size()); }

  // The first entry that has not ended at frame.
  int64_t FirstIndexAt(int64_t frame) const {
    const int64_t count = int64_t(FChain.Entries.size());
    if (count == 0) return 0;
    int64_t index = 0;
    if (FChain.Endless()) {
      const double ms = double(frame) * 1000 / 44100;
      index = std::max<int64_t>(0, int64_t(std::floor(ms / FChain.RoundLength)) - 1) * count;
    }
    while ((FChain.Endless() || index < count) && MixFrames(End(FChain.At(index))) <= frame) ++index;
    return index;
  }

  static double End(const TChainEntry& entry) { return entry.Start + std::max(0.0, entry.Length); }

  // Sets up the entry at FIndex; false past the end of the chain.
  bool OpenEntry() {
    if (!FChain.Endless() && FIndex >= int64_t(FChain.Entries.size())) return false;
    const TChainEntry entry = FChain.At(FIndex);
    FEntryFrom = MixFrames(entry.Start);
    FEntryTo = MixFrames(End(entry));
    FEntryOpen = true;
    FInnerEnded = false;
    FInnerReal = 0;
    if (FEntryTo <= FFrame || FEntryTo <= FEntryFrom) return true;  // nothing of it is heard
    try {
      const std::optional<TMediaInfo> media = FInner.Describe(entry.Name);
      if (media && media->Type == TMediaType::Composite) {
        FConverter = FInner.Decoder(nullptr, entry.Name, *media);  // it opens its items itself
      } else if (media && FInner.Open) {
        TMediaInfo opened = *media;
        FStream = FInner.Open(entry.Name, opened.LeadingData ? int64_t(opened.DataOffset) : 0);
        if (opened.LeadingData) opened.DataOffset = 0;
        if (FStream) FConverter = FInner.Decoder(FStream.get(), entry.Name, opened);
      }
    } catch (const std::exception&) {
      FConverter.reset();
    }
    if (!FConverter) {
      // Said once per chain: a repeating one comes back to the same entry every round.
      if (!FFailureLogged)
        Log().Write(u"Sound chain: \"" + entry.Name.substr(0, 200) + u"\" cannot be played; silence in its place");
      FFailureLogged = true;
      return true;
    }
    if (!(FConverter->OutputFormat() == MixFormat())) FConverter->SetTargetFormat(MixFormat());
    const int64_t into = std::max<int64_t>(0, FFrame - FEntryFrom);
    FConverter->Seek(entry.BeginOffset + double(into) * 1000 / 44100);
    return true;
  }

  void CloseEntry() {
    FConverter.reset();
    FStream.reset();
    FEntryOpen = false;
  }

  void Pad(int64_t frames) {
    FOutput.AppendFill(0, size_t(frames) * kFrameBytes);
    FFrame += frames;
  }

  // Decodes up to frames of the current entry; false when its sound has nothing more.
  // A decoder pads its last read with silence without moving its position, so what is
  // real of its output is told by how far its position moved.
  bool Decode(int64_t frames) {
    if (!FConverter || FInnerEnded) return false;
    const size_t bytes = size_t(frames) * kFrameBytes;
    const double before = FConverter->Position();
    bool more;
    try {
      more = FConverter->Read(bytes);
    } catch (const std::exception&) {
      FInnerEnded = true;  // a decoder that fails ends its entry
      return false;
    }
    TLocalBuffer& decoded = FConverter->Output();
    const double moved = std::max(0.0, FConverter->Position() - before);
    // A decoder that keeps no position is taken at its word.
    const size_t fresh = moved > 0 ? size_t(std::llround(moved * 44.1)) * kFrameBytes : more ? decoded.Size() : 0;
    FInnerReal = std::min(decoded.Size(), FInnerReal + fresh);
    const size_t taken = std::min(bytes, FInnerReal - FInnerReal % kFrameBytes);
    if (!more || taken < bytes) FInnerEnded = true;
    if (taken == 0) return false;
    FOutput.Append(decoded.Data(), taken);
    decoded.Consume(taken);
    FInnerReal -= taken;
    FFrame += int64_t(taken / kFrameBytes);
    return true;
  }

  TSoundChain FChain;
  TSoundSource FInner;
  int64_t FFrame = 0;  // the next frame on the chain's time line
  int64_t FIndex = 0;  // the entry being played
  bool FEntryOpen = false;
  int64_t FEntryFrom = 0;
  int64_t FEntryTo = 0;
  std::unique_ptr<TStream> FStream;
  std::unique_ptr<TWavConverter> FConverter;  // after its stream, so released first
  size_t FInnerReal = 0;  // bytes of the decoder's output that are its sound
  bool FInnerEnded = false;
  bool FEnded = false;
  bool FFailureLogged = false;
};

}  // namespace

TSoundChain TSoundChain::FromPlayList(const TPlayList& list) {
  TSoundChain chain;
  for (int i = 0; i < list.Count(); ++i) chain.Entries.push_back(list.ItemAt(i));
  chain.RoundLength = list.TotalLength();
  chain.Repeat = list.Repeat;
  return chain;
}

// A round shorter than a millisecond would make a chain that never moves on.
bool TSoundChain::Endless() const { return Repeat && !Entries.empty() && RoundLength >= 1; }

TChainEntry TSoundChain::At(int64_t index) const {
  const int64_t count = int64_t(Entries.size());
  TChainEntry entry = Entries[size_t(index % count)];
  entry.Start += double(index / count) * RoundLength;
  return entry;
}

double TSoundChain::Length() const {
  if (Endless()) return double(std::numeric_limits<uint32_t>::max());
  double end = 0;
  for (const TChainEntry& entry : Entries) end = std::max(end, entry.Start + std::max(0.0, entry.Length));
  return end;
}

int64_t MixFrames(double ms) { return ms > 0 ? MixBytes(ms) / 4 : 0; }

bool IsChainName(std::u16string_view name) { return name.substr(0, kChainPrefix.size()) == kChainPrefix; }

std::u16string ChainName(const TSoundChain& chain) {
  std::u16string name(kChainPrefix);
  name += chain.Repeat ? u'R' : u'O';
  name += kSeparator;
  AppendNumber(name, chain.RoundLength);
  AppendNumber(name, double(chain.Entries.size()));
  for (const TChainEntry& entry : chain.Entries) {
    AppendNumber(name, entry.Start);
    AppendNumber(name, entry.BeginOffset);
    AppendNumber(name, entry.Length);
    AppendNumber(name, double(entry.Name.size()));
    name += entry.Name;
  }
  return name;
}

std::optional<TSoundChain> ParseChainName(std::u16string_view name) {
  if (!IsChainName(name)) return std::nullopt;
  size_t pos = kChainPrefix.size();
  if (pos + 2 > name.size() || (name[pos] != u'R' && name[pos] != u'O') || name[pos + 1] != kSeparator)
    return std::nullopt;
  TSoundChain chain;
  chain.Repeat = name[pos] == u'R';
  pos += 2;
  double count;
  if (!ReadNumber(name, pos, chain.RoundLength) || !ReadNumber(name, pos, count) || count < 0 ||
      count > double(kMostEntries) || count != std::floor(count))
    return std::nullopt;
  for (size_t i = 0; i < size_t(count); ++i) {
    TChainEntry entry;
    double length;
    if (!ReadNumber(name, pos, entry.Start) || !ReadNumber(name, pos, entry.BeginOffset) ||
        !ReadNumber(name, pos, entry.Length) || !ReadNumber(name, pos, length) || length < 0 ||
        length != std::floor(length) || length > double(name.size() - pos))
      return std::nullopt;
    entry.Name = std::u16string(name.substr(pos, size_t(length)));
    pos += size_t(length);
    chain.Entries.push_back(std::move(entry));
  }
  if (pos != name.size()) return std::nullopt;
  return chain;
}

TSoundSource ChainingSoundSource(TSoundSource inner) {
  TSoundSource source;
  source.Open = [open = inner.Open](std::u16string_view name, int64_t skip) -> std::unique_ptr<TStream> {
    // A chain opens its entries itself; its own stream is empty.
    if (IsChainName(name)) return std::make_unique<TMemoryStream>();
    return open ? open(name, skip) : nullptr;
  };
  source.Recognise = [recognise = inner.Recognise](TStream& stream,
                                                    std::u16string_view name) -> std::optional<TMediaInfo> {
    if (!IsChainName(name)) return recognise ? recognise(stream, name) : std::nullopt;
    const std::optional<TSoundChain> chain = ParseChainName(name);
    if (!chain || chain->Length() <= 0) return std::nullopt;
    TMediaInfo media;
    media.Type = TMediaType::PcmWav;
    media.Format = MixFormat();
    media.Duration = uint32_t(std::min(std::ceil(chain->Length()), double(std::numeric_limits<uint32_t>::max())));
    media.DataSize = uint32_t(std::min<int64_t>(MixFrames(chain->Length()) * 4, std::numeric_limits<uint32_t>::max()));
    return media;
  };
  source.MakeConverter = [inner](TStream* stream, std::u16string_view name,
                                 const TMediaInfo& media) -> std::unique_ptr<TWavConverter> {
    if (!IsChainName(name)) return inner.MakeConverter ? inner.MakeConverter(stream, name, media) : nullptr;
    std::optional<TSoundChain> chain = ParseChainName(name);
    if (!chain) return nullptr;
    auto converter = std::make_unique<TChainConverter>(std::move(*chain), inner);
    if (!converter->Open(media)) return nullptr;
    return converter;
  };
  return source;
}

}  // namespace kiv
