#pragma once
// A picture on a slide ("image", "mainimage"), and the base of the kinds that show a
// picture made for them: texts, buttons and masks. It asks the slide host for its
// picture by name, takes its size from it, and draws it at its placement, one frame at
// a time when the picture is an animation grid.
//
// Device objects: what the drawer keeps for the picture (its textures) sits in a slot
// the object owns. The drawing side hands it back with ReleaseDeviceObjects before it
// drops a slide; a slot still filled when the object goes is freed by the store's own
// destructor, as the object has no drawer then.
#include <memory>
#include <optional>
#include <string>

#include "model/anim_grid.h"
#include "model/button_skin.h"
#include "model/image_keys.h"
#include "model/kiv_object.h"
#include "model/object_shadow.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

class TKivImage : public TKivObject {
 public:
  TKivImage(TKivObject& parent, std::u16string guid);
  ~TKivImage() override;

  const TImageKeys& ImageKeys() const { return FKeys; }
  // The picture shown; none until one has loaded.
  const std::shared_ptr<TBitmapStore>& Picture() const { return FPicture; }
  const TAnimGrid& Grid() const { return FGrid; }

  // The look under the pointer; texts and buttons show it, plain pictures keep it only.
  TButtonState Look() const { return FLook; }
  void SetLook(TButtonState look);

  // The picture keys, then the common keys.
  void ReadProperties(const TIniIdentList& section) override;
  // Loads the picture when its name changed since it was last asked for, and makes its
  // shadow.
  void LoadResources(IPrepareContext& context) override;
  // Follows the animation frame too, so that a new frame asks for a redraw.
  void SetTime(bool recursive, double time) override;
  // The shadow and the picture (when visible and drawable), then the children.
  void Draw(TDeviceDrawer& drawer) override;
  void ReleaseDeviceObjects(TDeviceDrawer& drawer) override;

  // What the drawer is given to show the picture now: none without picture or below one
  // pixel either way. The picture is loaded first when it is due.
  std::optional<TImageDraw> ImageDraw();

 protected:
  // Takes new picture keys (the animation grid with them).
  void SetImageKeys(TImageKeys keys);
  // The name the picture is asked for; empty asks for none.
  virtual std::u16string PictureName() const;
  // Asks for the picture when its name changed since the last request. A request that
  // gives nothing keeps the previous picture and size, and is not repeated until the
  // name changes again.
  virtual void EnsurePicture();
  // The own size from a newly loaded picture: one cell of the animation grid.
  virtual void TakePictureSize(const TBitmapStore& picture);
  // Where the picture is drawn: over the object's own quad.
  virtual TQuadPlace PictureQuad() const;
  // Draws what lies over the picture (a button's caption) after it.
  virtual void DrawOver(TDeviceDrawer&, const TImageDraw& /*picture*/) {}
  // The drawer's parameters for the picture at place.
  virtual TPictureParams PictureParams(const TQuadPlace& place) const;
  // What the shadow is made of when the picture is drawn with params: the picture's
  // current grid cell at the level in use.
  virtual TShadowCaster ShadowCaster(const TPictureParams& params) const;
  // The parameters shadows are made and found with: full size, the grid frame shown.
  TPictureParams ShadowParams(int32_t frame) const;

 private:
  void UpdateGrid();
  // The grid frame shown at the time last evaluated.
  int32_t CurrentFrame() const;

  TImageKeys FKeys;
  TAnimGrid FGrid{TAnimKeys{}};
  std::shared_ptr<TBitmapStore> FPicture;
  std::optional<std::u16string> FAskedName;  // none before the first request
  std::unique_ptr<TImageStore> FImageStore;
  TObjectShadow FDropShadow;
  int32_t FFrame = 0;
  TButtonState FLook = TButtonState::Normal;
};

}  // namespace kiv
