#pragma once
// Something the 3D screen made device objects for. The screen releases its device objects
// when the device or the full-screen mode changes (they come back on next use) and
// detaches it when the screen goes first.
namespace kiv {

class T3DScreen;

class TScreenResource {
 public:
  explicit TScreenResource(T3DScreen& screen);
  virtual ~TScreenResource();
  TScreenResource(const TScreenResource&) = delete;
  TScreenResource& operator=(const TScreenResource&) = delete;

  // Null once the screen is gone.
  T3DScreen* Screen() const { return FScreen; }
  // Frees the device objects; what they were made from stays.
  virtual void Release() = 0;

 private:
  friend class T3DScreen;
  void ScreenGone() {
    Release();
    FScreen = nullptr;
  }

  T3DScreen* FScreen;
};

}  // namespace kiv
