#pragma once
// A viewport ("viewport"): a group of a given size that clips its children by the masks
// among them. While it shows masks, its other children are drawn only where the union
// of its masks is opaque; holding masks only, it shows the frame behind through them.
#include <vector>

#include "model/kiv_object.h"
#include "model/viewport_keys.h"

namespace kiv {

class TKivMask;

class TKivViewPort : public TKivObject {
 public:
  using TKivObject::TKivObject;

  // "Size" (the current size when absent), then the common keys.
  void ReadProperties(const TIniIdentList& section) override;
  // Places the tree, then tells the slide when masks are shown.
  void UpdatePlacement(bool recursive) override;
  // The children clipped by the shown masks, or plainly when none is shown.
  void Draw(TDeviceDrawer& drawer) override;

  // The masks that clip now: the viewport is visible with opacity above 0, and each
  // mask is a visible child with opacity above 0. Empty: nothing is clipped.
  std::vector<TKivMask*> ShownMasks() const;

 private:
  TViewPortKeys FKeys;
};

}  // namespace kiv
