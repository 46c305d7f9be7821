#pragma once
// The drop shadow an object casts: made while the slide is prepared (on the slide
// loader's thread, never while drawing), asked of the slide host by a "Shadow: " name or
// made from the caster's own picture, and drawn under the object, grown by the shadow's
// border and moved by the shadow distance in the shadow direction. Shadows are made from
// the caster at full size (level 0): the shadow generator bounds their pixels itself, and
// a picture made for an object (a text's, a button's) has no smaller levels to ask for.
//
// Device objects: like a picture's, the shadow's textures sit in a slot the shadow owns,
// handed back with ReleaseDeviceObjects.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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

  // Makes the shadow picture for caster when "ShadowEnable" is set (once per caster:
  // an animation grid prepares one per frame).
  void Prepare(const TKivObject& object, const TShadowCaster& caster);
  // Draws the shadow prepared for caster under place when the effective opacity is above
  // 0; nothing when none was prepared or it could not be made.
  void Draw(TDeviceDrawer& drawer, const TKivObject& object, const TShadowCaster& caster, const TQuadPlace& place);
  void ReleaseDeviceObjects(TDeviceDrawer& drawer);

 private:
  struct TPrepared {
    TShadowPictureKey Key;
    std::shared_ptr<TBitmapStore> Picture;  // none when it could not be made
    std::unique_ptr<TImageStore> ImageStore;
  };

  // The shadow picture of key: made here from the caster's own picture when that is a
  // made one, else asked of the host by name.
  std::shared_ptr<TBitmapStore> MakePicture(const TKivObject& object, const TShadowCaster& caster,
                                            const TShadowPictureKey& key) const;
  // What tells prepared shadows apart: a made caster's picture name carries its look (a
  // button's hover), which leaves its shape and so its shadow as it is.
  static TShadowPictureKey MatchKey(const TShadowParams& shadow, const TShadowCaster& caster);

  std::mutex FLock;  // preparing and drawing may run on two threads
  std::vector<TPrepared> FPrepared;
};

}  // namespace kiv
