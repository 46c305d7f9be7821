#pragma once
// The output window that renderers draw into: its rectangle, its full-screen flag and a
// list of objects attached to it (the device store, the screen's messenger), which
// live as long as the window and are destroyed with it.
#include <memory>
#include <vector>

#include "render/device/geometry_3d.h"
#include "render/device/output_window.h"

namespace kiv {

class TDrawDeviceAttachment {
 public:
  virtual ~TDrawDeviceAttachment() = default;
};

class TDrawDevice {
 public:
  // window: a window made for OpenGL drawing (not owned).
  TDrawDevice(TOutputWindow* window, const TRect& rect);
  ~TDrawDevice();
  TDrawDevice(const TDrawDevice&) = delete;
  TDrawDevice& operator=(const TDrawDevice&) = delete;

  TOutputWindow* Window() const { return FWindow; }
  // Identifies the window; changes when the owner replaces its window.
  uint32_t WindowId() const;
  void SetWindow(TOutputWindow* window);

  // The window rectangle in desktop pixels.
  TRect Rect() const;
  void SetRect(const TRect& rect);
  bool FullScreen() const;
  void SetFullScreen(bool fullScreen);

  // Expires when the device is destroyed, for requests that run later on another thread.
  std::weak_ptr<void> AliveToken() const { return FAlive; }

  void Attach(std::unique_ptr<TDrawDeviceAttachment> attachment);
  // Takes attachment out of the list without destroying it; null when not attached.
  std::unique_ptr<TDrawDeviceAttachment> Detach(TDrawDeviceAttachment* attachment);
  template <class T>
  T* Find() const {
    for (const auto& attachment : FAttachments)
      if (auto* found = dynamic_cast<T*>(attachment.get())) return found;
    return nullptr;
  }

 private:
  TOutputWindow* FWindow;
  TRect FRect;
  bool FFullScreen = false;
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
  std::vector<std::unique_ptr<TDrawDeviceAttachment>> FAttachments;
};

}  // namespace kiv
