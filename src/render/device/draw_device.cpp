#include "render/device/draw_device.h"

#include <SDL2/SDL.h>

#include "render/device/device_lock.h"
#include "render/device/sdl_window.h"

namespace kiv {

TDrawDevice::TDrawDevice(TOutputWindow* window, const TRect& rect) : FWindow(window), FRect(rect) {}

TDrawDevice::~TDrawDevice() {
  TDeviceLockGuard lock;
  FAlive.reset();
  // Newest first: an attachment may still refer to older ones while it goes.
  while (!FAttachments.empty()) {
    std::unique_ptr<TDrawDeviceAttachment> last = std::move(FAttachments.back());
    FAttachments.pop_back();
    last.reset();
  }
}

uint32_t TDrawDevice::WindowId() const {
  TDeviceLockGuard lock;
  return FWindow ? SDL_GetWindowID(SdlWindowOf(FWindow)) : 0;
}

void TDrawDevice::SetWindow(TOutputWindow* window) {
  TDeviceLockGuard lock;
  FWindow = window;
}

TRect TDrawDevice::Rect() const {
  TDeviceLockGuard lock;
  return FRect;
}

void TDrawDevice::SetRect(const TRect& rect) {
  TDeviceLockGuard lock;
  FRect = rect;
}

bool TDrawDevice::FullScreen() const {
  TDeviceLockGuard lock;
  return FFullScreen;
}

void TDrawDevice::SetFullScreen(bool fullScreen) {
  TDeviceLockGuard lock;
  FFullScreen = fullScreen;
}

void TDrawDevice::Attach(std::unique_ptr<TDrawDeviceAttachment> attachment) {
  TDeviceLockGuard lock;
  FAttachments.push_back(std::move(attachment));
}

std::unique_ptr<TDrawDeviceAttachment> TDrawDevice::Detach(TDrawDeviceAttachment* attachment) {
  TDeviceLockGuard lock;
  for (auto it = FAttachments.begin(); it != FAttachments.end(); ++it) {
    if (it->get() != attachment) continue;
    std::unique_ptr<TDrawDeviceAttachment> taken = std::move(*it);
    FAttachments.erase(it);
    return taken;
  }
  return nullptr;
}

}  // namespace kiv
