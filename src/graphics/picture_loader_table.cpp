// The loaders of the player, in the order they are tried.
#include "graphics/picture_loaders.h"

namespace kiv {

const TPictureLoaderRegistry& PictureLoaders() {
  static const TPictureLoaderRegistry registry = [] {
    TPictureLoaderRegistry loaders;
    return loaders;
  }();
  return registry;
}

}  // namespace kiv
