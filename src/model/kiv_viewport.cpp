#include "model/kiv_viewport.h"

#include "model/key_size.h"
#include "model/kiv_mask.h"
#include "model/kiv_slide.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

namespace {

// Children of a viewport drawn as one item, so that the drawer can clip them together.
class TChildGroup : public TDrawItem {
 public:
  void Add(TKivObject& child) { FChildren.push_back(&child); }
  void Draw(TDeviceDrawer& drawer) override {
    for (TKivObject* child : FChildren) child->Draw(drawer);
  }

 private:
  std::vector<TKivObject*> FChildren;
};

}  // namespace

void TKivViewPort::ReadProperties(const TIniIdentList& section) {
  FKeys = ReadViewPortKeys(section, FKeys);
  SetSize(KeySize(FKeys.Size));
  TKivObject::ReadProperties(section);
}

void TKivViewPort::UpdatePlacement(bool recursive) {
  TKivObject::UpdatePlacement(recursive);
  if (!ShownMasks().empty()) Slide().NoteMasksShown();
}

std::vector<TKivMask*> TKivViewPort::ShownMasks() const {
  std::vector<TKivMask*> masks;
  if (!Visible() || !(EffectiveOpacity() > 0)) return masks;
  for (const std::unique_ptr<TKivObject>& child : Children())
    if (auto* mask = dynamic_cast<TKivMask*>(child.get()); mask && mask->Visible() && mask->EffectiveOpacity() > 0)
      masks.push_back(mask);
  return masks;
}

void TKivViewPort::Draw(TDeviceDrawer& drawer) {
  const std::vector<TKivMask*> shown = ShownMasks();
  if (shown.empty()) {
    TKivObject::Draw(drawer);
    return;
  }
  TChildGroup content;
  for (const std::unique_ptr<TKivObject>& child : Children())
    if (!dynamic_cast<TKivMask*>(child.get())) content.Add(*child);
  std::vector<TImageDraw> masks;
  for (TKivMask* mask : shown)
    if (std::optional<TImageDraw> picture = mask->ImageDraw()) masks.push_back(*picture);
  drawer.DrawMaskedGroup(content, masks, nullptr);
}

}  // namespace kiv
