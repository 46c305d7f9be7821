#pragma once
// Plays a composite description: each item's file is decoded by a converter of its own,
// opened through the owner's sound source shortly before the item starts, and mixed
// sample by sample into the mix format under the item's envelopes and the composite's
// main volume. To channels it is one more decoder; its output is always the mix format,
// made in blocks of 10000 bytes.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/stream.h"
#include "sound/composite_params.h"
#include "sound/sound_source.h"
#include "sound/wav_converter.h"

namespace kiv {

// An item as the mixer plays it: the description's item with its open stream and decoder.
struct TCompositeItem2 {
  TCompositeItem Item;
  int64_t Start = 0;   // bytes of the mix format: where the item starts on the time line
  int64_t Length = 0;  // bytes it plays (its Duration cut to the composite's end)
  std::unique_ptr<TStream> Stream;
  TMediaInfo Media;
  std::unique_ptr<TWavConverter> Converter;  // declared after the stream it reads
  int64_t BlockOffset = -1;  // where it starts inside the block being mixed; -1 none
};

class TCompositeConverter : public TWavConverter {
 public:
  static constexpr size_t kBlockBytes = 10000;
  // Items are opened at most this long before they start.
  static constexpr int32_t kOpenAheadMs = 5000;
  // No more items hold decoders at once (more are opened as others finish).
  static constexpr size_t kMostOpenItems = 64;

  // Items open through source (kept by value); description is the composite text.
  TCompositeConverter(TSoundSource source, std::u16string description);
  ~TCompositeConverter() override;

  // Parses the description; false when it is not a valid composite. The media passed is
  // not needed: the description tells everything.
  bool Open(const TMediaInfo& media) override;
  void Seek(double ms) override;
  // Mixes blocks until the output holds count bytes; past the composite's Duration the
  // output is padded with silence and the answer is false once nothing real remained.
  bool Read(size_t count) override;

  // How many items hold an open decoder, and how many are done with (played, past or
  // not openable).
  size_t OpenItems() const { return FOpened.size() + FPlaying.size(); }
  size_t FinishedItems() const { return FFinished.size(); }

 private:
  using TItemList = std::vector<TCompositeItem2*>;

  bool OpenItem(TCompositeItem2& item);
  void CloseItem(TCompositeItem2& item);
  // Closes the item and puts it into finished.
  void Finish(TCompositeItem2* item);
  // Seeks item's decoder to bytes into the item (its file at BeginTime and on).
  void SeekItem(TCompositeItem2& item, int64_t bytes);
  void MixBlock();
  void MixItem(TCompositeItem2& item, bool& done);
  void ApplyMainVolume(size_t frames);
  void OpenAhead();
  void SortPending();

  TSoundSource FSource;
  std::u16string FDescription;
  TCompositeParams FParams;
  std::vector<std::unique_ptr<TCompositeItem2>> FItems;
  TItemList FPending;  // by TimeLine
  TItemList FOpened;
  TItemList FPlaying;
  TItemList FFinished;
  int64_t FPos = 0;      // bytes of the mix format: the start of the next block
  int64_t FEndBytes = 0; // the composite's Duration in bytes
  bool FSought = false;
  bool FValid = false;
  std::array<int32_t, kBlockBytes / 2> FSums{};
};

}  // namespace kiv
