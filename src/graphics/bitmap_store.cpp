#include "graphics/bitmap_store.h"

#include <new>

#include "base/errors.h"
#include "base/progress_hook.h"
#include "graphics/bitmap_convert.h"

namespace kiv {

TBitmapStore::TBitmapStore(int width, int height, TPixelFormat format)
    : FWidth(width), FHeight(height), FFormat(format) {}

std::shared_ptr<const TBitmap> TBitmapStore::GetMipLevel(int level, std::optional<TPixelFormat> format) {
  if (level < 0 || level > kMaxMipLevel) return nullptr;
  std::lock_guard lock(FLock);
  if (FLevels.size() <= size_t(level)) FLevels.resize(size_t(level) + 1);
  std::vector<std::shared_ptr<const TBitmap>>& cache = FLevels[size_t(level)];
  for (const auto& bitmap : cache)
    if (!format || bitmap->Format() == *format) return bitmap;

  if (cache.empty()) {
    std::unique_ptr<TBitmap> decoded;
    try {
      decoded = DecodeLevel(level);
    } catch (const std::bad_alloc&) {
      // no room for the picture: it counts as one that cannot be decoded
    }
    // A decoding the program cut short is not kept: the next request decodes again.
    if (decoded && ProgressMode() == TProgressMode::Stop) throw EKivError("Decoding stopped");
    if (!decoded)
      throw EKivError("\"" + std::string(ClassName()) + ".GetMipLevel(" + std::to_string(level) + ")\" Not Assigned");
    if (decoded->MipLevel() != level) throw EKivError("Incorrect MipLevelIndex");
    cache.push_back(std::move(decoded));
    if (!format || cache.front()->Format() == *format) return cache.front();
  }
  std::unique_ptr<TBitmap> converted = ConvertBitmap(*cache.front(), *format);
  if (!converted) throw EKivError("Invalid Combination Of Bitmap Parameters");
  converted->SetMipLevel(level);
  cache.push_back(std::move(converted));
  return cache.back();
}

TWrapperBitmapStore::TWrapperBitmapStore(std::unique_ptr<TBitmap> bitmap)
    : TBitmapStore(bitmap->Width(), bitmap->Height(), bitmap->Format()), FBitmap(std::move(bitmap)) {}

std::unique_ptr<TBitmap> TWrapperBitmapStore::DecodeLevel(int level) {
  return level == 0 ? std::move(FBitmap) : nullptr;
}

}  // namespace kiv
