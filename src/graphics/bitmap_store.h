#pragma once
// A decoded-on-demand picture: knows its size and pixel format as soon as it is opened,
// and decodes each detail level (mip level 0 = full size, 1 = half, 2 = quarter,
// 3 = eighth) at the first request, under a lock, caching conversions into other pixel
// formats beside it. Shared by every holder; freed by the last.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/rect.h"
#include "graphics/bitmap.h"

namespace kiv {

// The frame layout of an animated picture decoded as one strip of cells.
struct TTilesTag {
  int Columns = 0;  // frame count
  int Rows = 1;
  int FrameWidth = 0;
  int FrameHeight = 0;
  int TotalDuration = 0;    // ms
  int AverageDuration = 0;  // ms, total / frame count
  std::u16string Durations;  // ms per frame, separated by ","
  int LoopCount = 0;
};

class TBitmapStore {
 public:
  static constexpr int kMaxMipLevel = 3;

  TBitmapStore(int width, int height, TPixelFormat format);
  virtual ~TBitmapStore() = default;
  TBitmapStore(const TBitmapStore&) = delete;
  TBitmapStore& operator=(const TBitmapStore&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TPixelFormat Format() const { return FFormat; }
  // The levels this store decodes itself (0 … LevelCount() - 1); others come from
  // scaling by the consumer.
  virtual int LevelCount() const { return 1; }
  // A short name for messages.
  virtual const char* ClassName() const = 0;

  // The picture at level in format (the decoded format when none is asked). Null for a
  // level outside 0 … 3. Raises "\"<class>.GetMipLevel(<level>)\" Not Assigned" when the
  // store cannot decode a level inside that range, "Incorrect MipLevelIndex" when it
  // decoded another level, and "Invalid Combination Of Bitmap Parameters" when the
  // conversion cannot be made. A level decoded while the program asks its loaders to
  // stop (TProgressMode::Stop) raises "Decoding stopped" and is not kept.
  std::shared_ptr<const TBitmap> GetMipLevel(int level, std::optional<TPixelFormat> format = std::nullopt);

  // Called with the fraction done (0 … 1) while a level decodes.
  void SetProgress(std::function<void(double)> progress) { FProgress = std::move(progress); }
  const std::shared_ptr<TTilesTag>& Tiles() const { return FTiles; }
  void SetTiles(std::shared_ptr<TTilesTag> tiles) { FTiles = std::move(tiles); }
  // For a rendered text: the rectangle of each line in the picture; null otherwise.
  const std::shared_ptr<const std::vector<TRect>>& LineRects() const { return FLineRects; }
  void SetLineRects(std::shared_ptr<const std::vector<TRect>> rects) { FLineRects = std::move(rects); }

 protected:
  // Decodes one level; null when this store cannot make it.
  virtual std::unique_ptr<TBitmap> DecodeLevel(int level) = 0;
  void ReportProgress(double fraction) const {
    if (FProgress) FProgress(fraction);
  }

 private:
  std::mutex FLock;
  int FWidth;
  int FHeight;
  TPixelFormat FFormat;
  std::function<void(double)> FProgress;
  std::shared_ptr<TTilesTag> FTiles;
  std::shared_ptr<const std::vector<TRect>> FLineRects;
  // Per level: the decoded bitmap first, then its conversions.
  std::vector<std::vector<std::shared_ptr<const TBitmap>>> FLevels;
};

// A store over a bitmap that is already decoded (level 0 only).
class TWrapperBitmapStore : public TBitmapStore {
 public:
  explicit TWrapperBitmapStore(std::unique_ptr<TBitmap> bitmap);
  const char* ClassName() const override { return "TWrapperBitmapStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override;

 private:
  std::unique_ptr<TBitmap> FBitmap;  // handed over at the first request
};

// A handle on a store with a copy of its picture parameters.
struct TImage {
  std::shared_ptr<TBitmapStore> Store;
  int Width = 0;
  int Height = 0;
  TPixelFormat Format = TPixelFormat::Bgra32;

  explicit TImage(std::shared_ptr<TBitmapStore> store)
      : Store(std::move(store)), Width(Store->Width()), Height(Store->Height()), Format(Store->Format()) {}
};

}  // namespace kiv
