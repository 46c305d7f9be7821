#include "app/player_slide_loader.h"

#include "engine/kiv_slide_loader.h"
#include "model/standard_object_kinds.h"

namespace kiv {

TSlideLoaderFactory PlayerSlideLoaders() {
  return [](const TSlideLoaderParams& params) {
    return MakeKivSlideLoader(params, StandardObjectKinds(), InstallStandardPictureProviders);
  };
}

}  // namespace kiv
