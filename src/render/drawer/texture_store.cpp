#include "render/drawer/texture_store.h"

#include <algorithm>

#include "base/errors.h"
#include "base/log.h"
#include "graphics/bitmap_scale.h"

namespace kiv {

std::string TextureKey(int level, int columns, int rows) {
  return "MultiTexID: " + std::to_string(level) + ":" + std::to_string(columns) + ":" + std::to_string(rows);
}

TRectF AnimationFrame(int width, int height, int columns, int rows, int frame) {
  const int cell = std::clamp(frame, 0, columns * rows - 1);
  const int column = cell % columns;
  const int row = cell / columns;
  const int cellWidth = width / columns;
  const int cellHeight = height / rows;
  const int left = column * cellWidth;
  const int top = row * cellHeight;
  return {float(left), float(top), float(column == columns - 1 ? width : left + cellWidth),
          float(row == rows - 1 ? height : top + cellHeight)};
}

std::shared_ptr<const TBitmap> PictureAtLevel(const TBitmapStore& picture, int level) {
  // Decoding on demand fills the store's cache; the picture itself does not change.
  auto& store = const_cast<TBitmapStore&>(picture);
  const TPixelFormat format = picture.Format() == TPixelFormat::Bgr24 ? TPixelFormat::Bgr24 : TPixelFormat::Bgra32;
  const int decoded = std::clamp(std::min(level, picture.LevelCount() - 1), 0, TBitmapStore::kMaxMipLevel);
  try {
    std::shared_ptr<const TBitmap> bitmap = store.GetMipLevel(decoded, format);
    for (int halved = decoded; bitmap && halved < level; ++halved) bitmap = HalveBitmap(*bitmap);
    return bitmap;
  } catch (const EKivError& failure) {
    Log().Write(std::string("Picture not drawn: ") + failure.what());
    return nullptr;
  }
}

TMultiTexture6* TTextureStore::Take(TTextureManager6& tiles, const TBitmapStore& picture, int level, int columns,
                                    int rows) {
  const std::string key = TextureKey(level, columns, rows);
  auto found = std::find_if(FWrappers.begin(), FWrappers.end(),
                            [&key](const TTextureWrapper& wrapper) { return wrapper.Key == key; });
  if (found != FWrappers.end() && found->Picture == &picture) return found->Texture.get();
  if (found == FWrappers.end()) found = FWrappers.insert(FWrappers.end(), TTextureWrapper{key, nullptr, nullptr});
  found->Picture = &picture;
  found->Texture.reset();
  if (std::shared_ptr<const TBitmap> bitmap = PictureAtLevel(picture, level))
    found->Texture =
        std::make_unique<TMultiTexture6>(tiles, bitmap, TRect{0, 0, bitmap->Width(), bitmap->Height()}, columns, rows);
  return found->Texture.get();
}

}  // namespace kiv
