#pragma once
// A filled rectangle on a slide ("box"), in one colour or a gradient between two.
#include "model/box_keys.h"
#include "model/kiv_object.h"
#include "model/object_shadow.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

class TKivBox : public TKivObject {
 public:
  using TKivObject::TKivObject;

  const TBoxKeys& BoxKeys() const { return FKeys; }

  // The box keys ("Size" is the own size; none gives 0 × 0), then the common keys.
  void ReadProperties(const TIniIdentList& section) override;
  // Makes the box's shadow.
  void LoadResources(IPrepareContext& context) override;
  // The shadow and the shape when visible and at least one pixel each way, then the
  // children.
  void Draw(TDeviceDrawer& drawer) override;
  void ReleaseDeviceObjects(TDeviceDrawer& drawer) override;

 protected:
  // The filled rectangle at place.
  virtual void DrawShape(TDeviceDrawer& drawer, const TQuadPlace& place) const;

 private:
  TShadowCaster ShadowCaster() const;

  TBoxKeys FKeys;
  TObjectShadow FDropShadow;
};

}  // namespace kiv
