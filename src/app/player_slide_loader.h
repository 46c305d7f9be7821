#pragma once
// The slide loader the player's engine is given for each show it opens: slides built
// from the show's project with every standard object kind, pictures loaded through the
// show's files.
#include "engine/slide_loader.h"

namespace kiv {

TSlideLoaderFactory PlayerSlideLoaders();

}  // namespace kiv
