#pragma once
// A texture on an OpenGL ES context. Colours are kept as R, G, B, A; an X8R8G8B8 render
// target reads its alpha as opaque and a one-channel texture reads as grey. Pixels written
// through a level's lock wait here until the drawing thread next uses the texture.
#include <GLES3/gl3.h>

#include <memory>
#include <vector>

#include "render/device/texture_3d.h"

namespace kiv {

class TDevStore;
class T3DSurfaceGL;

class T3DTextureGL : public T3DTexture {
 public:
  // Registers with store; Allocate makes the GL texture.
  T3DTextureGL(TDevStore& store, TTextureKind kind, int width, int height, int levels);
  ~T3DTextureGL() override;

  // With the context current: the texture and its storage.
  bool Allocate();

  T3DSurface* GetLevel(int index) override;
  int GetLevelCount() override { return FLevels; }
  // Sampled through its mip levels (Bind with maxAnisotropy > 0): only then does a LOD
  // bias change what a draw shows.
  bool MipFiltered(int maxAnisotropy) const {
    return GetFilter() == TTextureFilter::Linear && maxAnisotropy > 0 && MipMapped() && FLevels > 1;
  }
  bool GenerateMipLevels() override;
  TTextureKind Kind() const override { return FKind; }
  // The texels of level 0 known to read with alpha 1 once the queued pixels are written:
  // the whole texture for a kind without alpha, else the largest area that an upload with
  // every alpha at 255 covered and no later upload brought a lower alpha into.
  const TRect& OpaqueArea() const { return FOpaqueArea; }
  // Something other than an upload wrote the pixels (a copy into a level).
  void PixelsOverwritten();

  TDevStore* Store() const { return FStore; }
  GLuint Name() const { return FName; }
  int LevelWidth(int level) const { return std::max(1, FWidth >> level); }
  int LevelHeight(int level) const { return std::max(1, FHeight >> level); }

  // Pixels for rect of level, drawn at the next ApplyPending.
  void QueueUpload(int level, const TRect& rect, std::unique_ptr<TBitmap> pixels);
  // With the context current: writes the queued pixels and mip levels.
  bool ApplyPending();
  // With the context current: binds to unit with the sampling state of the texture.
  void Bind(int unit, int maxAnisotropy);

  // The store is going: the texture keeps no GL names any more and says so.
  void StoreGone();

 private:
  struct TUpload {
    int Level;
    TRect Rect;
    std::unique_ptr<TBitmap> Pixels;
    bool Opaque;
  };

  TDevStore* FStore;
  TTextureKind FKind;
  int FWidth;
  int FHeight;
  int FLevels;
  GLuint FName = 0;
  std::vector<std::unique_ptr<T3DSurfaceGL>> FSurfaces;
  std::vector<TUpload> FUploads;
  bool FMipsPending = false;
  TRect FOpaqueArea;
};

}  // namespace kiv
