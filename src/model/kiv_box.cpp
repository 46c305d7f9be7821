#include "model/kiv_box.h"

#include "model/key_size.h"
#include "model/object_quad.h"

namespace kiv {

void TKivBox::ReadProperties(const TIniIdentList& section) {
  FKeys = ReadBoxKeys(section);
  SetSize(KeySize(FKeys.Size));
  TKivObject::ReadProperties(section);
}

void TKivBox::Draw(TDeviceDrawer& drawer) {
  if (Visible() && AtLeastOnePixel(Size())) DrawShape(drawer, ObjectQuad(*this));
  TKivObject::Draw(drawer);
}

void TKivBox::DrawShape(TDeviceDrawer& drawer, const TQuadPlace& place) const {
  const TBoxPaint paint = BoxPaint(FKeys);
  TBoxParams box;
  box.Kind = paint.DrawerKind;
  box.Color1 = paint.Color1;
  box.Color2 = paint.Color2;
  box.Opacity = EffectiveOpacity();
  box.SoftLeft = box.SoftTop = box.SoftRight = box.SoftBottom = FKeys.Antialiased;
  drawer.DrawBox(place, box);
}

}  // namespace kiv
