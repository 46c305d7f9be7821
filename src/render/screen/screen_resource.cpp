#include "render/screen/screen_resource.h"

#include "render/screen/screen_3d.h"

namespace kiv {

TScreenResource::TScreenResource(T3DScreen& screen) : FScreen(&screen) { screen.AddDependent(this); }

TScreenResource::~TScreenResource() {
  if (FScreen) FScreen->RemoveDependent(this);
}

}  // namespace kiv
