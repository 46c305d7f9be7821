// The loaders of the player, in the order they are tried.
#include "graphics/picture_loaders.h"

#include "graphics/bmp_loader.h"
#include "graphics/gif_bitmap_store.h"
#include "graphics/graphics_container_loader.h"
#include "graphics/jpeg_bitmap_store.h"
#include "graphics/png_bitmap_store.h"

namespace kiv {

const TPictureLoaderRegistry& PictureLoaders() {
  static const TPictureLoaderRegistry registry = [] {
    TPictureLoaderRegistry loaders;
    loaders.Register(LoadGraphicsContainer, {u".zqgfx", u".bmp", u".dib", u".png", u".gif"});
    loaders.Register(LoadBmpPicture, {u".bmp", u".dib"});
    loaders.Register(LoadJpegPicture, {u".jpg", u".jpeg", u".jpe", u".jfif"});
    loaders.Register(LoadGifPicture, {u".gif"});
    loaders.Register(LoadPngPicture, {u".png"});
    return loaders;
  }();
  return registry;
}

}  // namespace kiv
