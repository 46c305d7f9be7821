#include "graphics/gif_bitmap_store.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/log.h"
#include "base/progress_hook.h"
#include "base/text.h"
#include "graphics/gif_strip.h"
#include "graphics/picture_stream_bytes.h"

namespace kiv {

namespace {

constexpr uint8_t kGifSignature[] = {'G', 'I', 'F'};
constexpr int kDelayUnitMs = 10;
constexpr int kDurationOfZeroDelayMs = 50;

}  // namespace

TGifBitmapStore::TGifBitmapStore(std::vector<uint8_t> data, TGifLayout layout)
    : TBitmapStore(int(layout.Frames.size()) * layout.Width, layout.Height, TPixelFormat::Bgra32),
      FData(std::move(data)),
      FLayout(std::move(layout)) {}

std::unique_ptr<TBitmap> TGifBitmapStore::DecodeLevel(int level) {
  if (level != 0) return nullptr;
  std::unique_ptr<TBitmap> strip = BuildGifStrip(FData, FLayout, [this](double fraction) { ReportProgress(fraction); });
  // The encoded data is not needed once the only level exists (unless the decoding was
  // cut short and must be made again).
  if (ProgressMode() != TProgressMode::Stop) std::vector<uint8_t>().swap(FData);
  return strip;
}

TTilesTag GifTilesTag(const TGifLayout& layout) {
  TTilesTag tag;
  tag.Columns = int(layout.Frames.size());
  tag.Rows = 1;
  tag.FrameWidth = layout.Width;
  tag.FrameHeight = layout.Height;
  tag.LoopCount = layout.LoopCount;
  // Thousands of frames of 655 s each pass the largest int: the sum is kept wide and the
  // total held at that largest value.
  int64_t total = 0;
  for (const TGifFrame& frame : layout.Frames) {
    const int duration = frame.Delay == 0 ? kDurationOfZeroDelayMs : frame.Delay * kDelayUnitMs;
    total += duration;
    if (!tag.Durations.empty()) tag.Durations += u',';
    tag.Durations += IntToText(duration);
  }
  tag.TotalDuration = int(std::min<int64_t>(total, std::numeric_limits<int>::max()));
  tag.AverageDuration = tag.Columns > 0 ? int(total / tag.Columns) : 0;
  return tag;
}

std::shared_ptr<TBitmapStore> LoadGifPicture(TStream& stream, std::u16string_view) {
  if (!StreamStartsWith(stream, kGifSignature)) return nullptr;
  const int64_t position = stream.GetPosition();
  std::vector<uint8_t> data = ReadRemainingBytes(stream);
  try {
    TGifLayout layout = ReadGifLayout(data);
    const bool animated = layout.Frames.size() > 1;
    std::shared_ptr<TTilesTag> tiles = animated ? std::make_shared<TTilesTag>(GifTilesTag(layout)) : nullptr;
    auto store = std::make_shared<TGifBitmapStore>(std::move(data), std::move(layout));
    store->SetTiles(std::move(tiles));
    return store;
  } catch (const EGifError& error) {
    Log().Write(std::string("TGifBitmapStore: ") + error.what());
    stream.SetPosition(position);
    return nullptr;
  }
}

}  // namespace kiv
