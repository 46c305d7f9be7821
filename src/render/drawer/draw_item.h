#pragma once
// The common base of everything that ends up on screen: the drawer draws an item by
// asking it to draw itself through the drawer's operations. The slide objects inherit it
// through their parameter holder.
namespace kiv {

class TDeviceDrawer;

class TDrawItem {
 public:
  virtual ~TDrawItem() = default;
  TDrawItem(const TDrawItem&) = delete;
  TDrawItem& operator=(const TDrawItem&) = delete;

  virtual void Draw(TDeviceDrawer& drawer) = 0;

 protected:
  TDrawItem() = default;
};

}  // namespace kiv
