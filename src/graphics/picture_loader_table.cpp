// The loaders of the player, in the order they are tried.
#include "graphics/picture_loaders.h"

#include "graphics/bmp_loader.h"
#include "graphics/graphics_container_loader.h"

namespace kiv {

const TPictureLoaderRegistry& PictureLoaders() {
  static const TPictureLoaderRegistry registry = [] {
    TPictureLoaderRegistry loaders;
    loaders.Register(LoadGraphicsContainer, {u".zqgfx", u".bmp", u".dib", u".png", u".gif"});
    loaders.Register(LoadBmpPicture, {u".bmp", u".dib"});
    return loaders;
  }();
  return registry;
}

}  // namespace kiv
