#pragma once
// The common base of everything that ends up on screen. The drawer gives it its drawing
// protocol; the slide objects inherit it through their parameter holder.
namespace kiv {

class TDrawItem {
 public:
  virtual ~TDrawItem() = default;
  TDrawItem(const TDrawItem&) = delete;
  TDrawItem& operator=(const TDrawItem&) = delete;

 protected:
  TDrawItem() = default;
};

}  // namespace kiv
