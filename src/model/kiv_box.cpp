#include "model/kiv_box.h"

#include <algorithm>

#include "model/key_size.h"
#include "model/object_quad.h"

namespace kiv {

void TKivBox::ReadProperties(const TIniIdentList& section) {
  FKeys = ReadBoxKeys(section);
  SetSize(KeySize(FKeys.Size));
  TKivObject::ReadProperties(section);
}

// A plain box shape, as opaque as the more opaque of its two colours.
TShadowCaster TKivBox::ShadowCaster() const {
  TShadowCaster caster = PictureShadowCaster(std::u16string(kBoxShadowCaster), Size(), 0);
  const TBoxPaint paint = BoxPaint(FKeys);
  caster.Alpha = uint8_t(std::max(paint.Color1 >> 24, paint.Color2 >> 24));
  return caster;
}

void TKivBox::LoadResources(IPrepareContext&) {
  if (AtLeastOnePixel(Size())) FDropShadow.Prepare(*this, ShadowCaster());
}

void TKivBox::Draw(TDeviceDrawer& drawer) {
  if (Visible() && AtLeastOnePixel(Size())) {
    const TQuadPlace place = ObjectQuad(*this);
    FDropShadow.Draw(drawer, *this, ShadowCaster(), place);
    DrawShape(drawer, place);
  }
  TKivObject::Draw(drawer);
}

void TKivBox::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  FDropShadow.ReleaseDeviceObjects(drawer);
  TKivObject::ReleaseDeviceObjects(drawer);
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
