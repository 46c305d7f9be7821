#include "render/drawer/yuv_3d.h"

#include <algorithm>

#include "base/errors.h"

namespace kiv {

void TYUVRegistry::Add(T3DYUV* yuv) {
  std::lock_guard lock(FLock);
  FHolders.push_back(yuv);
}

void TYUVRegistry::Remove(T3DYUV* yuv) {
  std::lock_guard lock(FLock);
  FHolders.erase(std::remove(FHolders.begin(), FHolders.end(), yuv), FHolders.end());
}

void TYUVRegistry::ForEach(const std::function<void(T3DYUV&)>& action) {
  std::lock_guard lock(FLock);
  for (T3DYUV* yuv : FHolders) action(*yuv);
}

T3DYUV::T3DYUV(std::shared_ptr<TYUVRegistry> registry, T3DScreen& screen, int width, int height, bool planar)
    : FRegistry(std::move(registry)), FWidth(width), FHeight(height) {
  if (planar) {
    FPlanes[kPlaneY] = std::make_unique<TVideoTexture>(screen, width, height);
    FPlanes[kPlaneU] = std::make_unique<TVideoTexture>(screen, width / 2, height / 2);
    FPlanes[kPlaneV] = std::make_unique<TVideoTexture>(screen, width / 2, height / 2);
  } else {
    FPlanes[kPlaneGrey] = std::make_unique<TGrayScaleTexture>(screen, width, height);
  }
  FRegistry->Add(this);
}

T3DYUV::~T3DYUV() {
  FRegistry->Remove(this);
  TMonitorLock lock(*this);
  WaitForPlanes();
}

void T3DYUV::WaitForPlanes() {
  while (FInFlight > 0) Wait();
}

TVideoTexture* T3DYUV::Texture(int plane) {
  KIV_ASSERT(plane >= 0 && plane <= kPlaneGrey);
  return FPlanes[size_t(plane)].get();
}

TBitmap* T3DYUV::LockPlane(int plane) {
  TVideoTexture* texture = Texture(plane);
  TMonitorLock lock(*this);
  if (!texture || FDetached || FLocked[size_t(plane)]) return nullptr;
  FLocked[size_t(plane)] = true;
  ++FInFlight;
  return &texture->Plane();
}

void T3DYUV::UnlockPlane(int plane) {
  TVideoTexture* texture = Texture(plane);
  TMonitorLock lock(*this);
  KIV_ASSERT(texture && FLocked[size_t(plane)]);
  texture->FinishPlane();
  FLocked[size_t(plane)] = false;
  --FInFlight;
}

int T3DYUV::PlanesInFlight() {
  TMonitorLock lock(*this);
  return FInFlight;
}

void T3DYUV::Detach() {
  TMonitorLock lock(*this);
  WaitForPlanes();
  FDetached = true;
  for (auto& texture : FPlanes)
    if (texture) texture->Release();
}

void T3DYUV::Attach() {
  TMonitorLock lock(*this);
  FDetached = false;
}

bool T3DYUV::Detached() {
  TMonitorLock lock(*this);
  return FDetached;
}

void T3DYUV::Prepare() {
  TMonitorLock lock(*this);
  for (size_t plane = 0; plane < FPlanes.size(); ++plane) {
    TVideoTexture* texture = FPlanes[plane].get();
    if (!texture || FLocked[plane]) continue;
    // A new device texture is painted as it is made; an existing one when the plane changed.
    if (texture->GetTexture() && texture->Changed()) texture->Refresh();
  }
}

}  // namespace kiv
