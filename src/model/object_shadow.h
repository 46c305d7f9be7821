#pragma once
// The drop shadow an object casts: asked of the slide host by a "Shadow: " name when the
// object's size or shadow keys change, and drawn under the object, grown by the shadow's
// border and moved by the shadow distance in the shadow direction.
//
// Device objects: like a picture's, the shadow's textures sit in a slot the shadow owns,
// handed back with ReleaseDeviceObjects.
#include <memory>
#include <optional>
#include <string>

#include "model/kiv_object.h"
#include "model/shadow_picture_name.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

// What the casting object tells about its shadow.
struct TShadowCaster {
  std::u16string Picture{kBoxShadowCaster};  // the casting picture's name, or a plain box
  int32_t Level = 0;                         // the picture level in use
  TSizeF LevelSize;                          // the caster in pixels of that level
  int32_t CellLeft = 0, CellTop = 0, CellWidth = 0, CellHeight = 0;  // of a grid picture
  uint8_t Alpha = 255;                       // the caster's own alpha (boxes)
  float OffsetMeasure = 0;                   // m: the distance 100 moves m own pixels
  float BlurFactor = 0;                      // k: the radius grows by k per unit of size
  // The casting picture itself. A picture that is made rather than read (a button's)
  // cannot be reached by name from the shadow maker: its shadow is made from this.
  std::shared_ptr<TBitmapStore> Store;
};

// The caster of a picture of size own pixels shown from level: m = sqrt(width × height)
// in own pixels, k = sqrt(width × height) / 400 in pixels of the level.
TShadowCaster PictureShadowCaster(std::u16string picture, TSizeF size, int32_t level);

// The picture key of object's shadow keys for caster.
TShadowPictureKey ShadowKey(const TShadowParams& shadow, const TShadowCaster& caster);

// Where the shadow of an object at place (its quad) with placement frame lies: grown
// by the layout's border, moved by the shadow offset.
TQuadPlace ShadowPlace(const TShadowParams& shadow, const TShadowCaster& caster, const TPlacementFrame& frame,
                       const TQuadPlace& place);

class TObjectShadow {
 public:
  TObjectShadow();
  ~TObjectShadow();

  // Draws object's shadow under place when "ShadowEnable" is set and its effective
  // opacity is above 0; nothing when the shadow picture cannot be made.
  void Draw(TDeviceDrawer& drawer, const TKivObject& object, const TShadowCaster& caster, const TQuadPlace& place);
  void ReleaseDeviceObjects(TDeviceDrawer& drawer);

 private:
  // The shadow picture of key: made here from the caster's own picture when that is a
  // made one, else asked of the host by name.
  std::shared_ptr<TBitmapStore> MakePicture(const TKivObject& object, const TShadowCaster& caster,
                                            const TShadowPictureKey& key) const;

  std::optional<TShadowPictureKey> FAskedKey;  // the shadow last asked for
  std::shared_ptr<TBitmapStore> FPicture;
  std::unique_ptr<TImageStore> FImageStore;
};

}  // namespace kiv
