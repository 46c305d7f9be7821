#pragma once
// The drawer on the 3D screen: draws the frames of the show into one window. Pictures go
// through pooled tiles kept per picture object, boxes and frames through vertex colours,
// masked groups through two screen-covering render-target buffers, video frames through
// the YUV shader, transitions through the effecter, and the unsharp-mask pass through a
// render target the size of the screen. Used from the drawing thread; FreeImageStore
// may be called from any thread.
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "render/device/engine_3d.h"
#include "render/drawer/device_drawer.h"
#include "render/drawer/draw_filter.h"
#include "render/drawer/drawer_shaders.h"
#include "render/screen/nine_grid.h"

namespace kiv {

class TBoxAntialiaser;
class TDrawDevice;
class TRenderTargetEffecter;
class TRenderTargetTexture;
class TTextureManager6;
class TTiledRenderTarget;
class TYUVRegistry;
class T3DScreen;
struct TMaskBuffers;

class T3DDrawer : public TDeviceDrawer {
 public:
  using TNotification = std::function<void()>;

  // rendererReady and rendererLost: the owner's callbacks, run after the drawer's own
  // handling of a renderer that became usable or was dropped.
  explicit T3DDrawer(T3DEngine& engine, TNotification rendererReady = {}, TNotification rendererLost = {});
  ~T3DDrawer() override;

  // Draws into device's window from the next frame on.
  void Init(TDrawDevice* device);
  // Drops the renderer; nothing is drawn until the next Init.
  void Close();
  // Every frame starts cleared to colour, made opaque; black until set.
  void SetHiderColour(uint32_t colour) { FHiderColour = colour | 0xFF000000u; }

  bool IsReady() const override { return FReady; }
  bool BeginFrame() override;
  void EndFrame() override;
  void Clear(uint32_t colour, bool depthToo) override;
  void FillRect(uint32_t colour, const TRect& rect) override;
  void BeginPostProcess() override;
  void EndPostProcess(uint8_t threshold, float amount) override;
  std::unique_ptr<T3DYUV> CreateYUV(int width, int height) override;
  void DrawVideo(T3DYUV& yuv, const TQuadPlace& place, const TPictureParams& params,
                 TFieldMode field = TFieldMode::Progressive) override;

  void DrawImage(const TImageDraw& image) override;
  void FreeImageStore(std::unique_ptr<TImageStore>& store) override;
  void DrawBox(const TQuadPlace& place, const TBoxParams& box) override;
  void DrawFrame(const TQuadPlace& place, const TFrameParams& frame) override;
  void DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks, const TBitmapStore* pattern) override;

  // The last frame drawn into target (Bgr24 or Bgra32, of the drawer's size); false when
  // there is no frame to read or target does not fit it.
  bool CopyFrame(TBitmap& target);
  // The last frame as an R8G8B8 (Bgr24) picture of the drawer's size; null when there
  // is none.
  std::unique_ptr<TBitmap> CaptureFrame();

  // --- For the transition objects.
  T3DScreen& Screen() { return *FScreen; }
  // Null until a renderer was ready.
  TRenderTargetEffecter* Effecter() { return FEffecter.get(); }
  // Draws slide into the effecter's current target, cleared to clearColour first; with
  // fillEdges the pixels around the slide area repeat its edge.
  void RenderForEffect(TDrawItem& slide, uint32_t clearColour, bool fillEdges = false);
  bool DrawingForEffect() const { return FDrawingForEffect; }

 protected:
  void DrawThroughTransition(TDrawItem& first, TDrawItem& second, TDrawFilter& transition,
                             double progress) override;

 private:
  void RendererReadyEvent();
  void RendererLostEvent();
  // A usable renderer and an initialised drawer.
  bool CanDraw() const;
  TTextureManager6& Tiles();
  // place on the target: boxes with vertex colours, softened where edges says.
  void DrawBoxQuad(const TQuadPlace& place, const TCornerColours& colours, const TEdgeMask& edges);
  // Four bars along the edges of place (on the target), thicknessX wide on the left and
  // right, thicknessY high at the top and bottom.
  void DrawBars(const TQuadPlace& place, float thicknessX, float thicknessY, uint32_t colour, bool soft);
  // Renders the slide which names into the effecter and lets transition draw it.
  void DrawThroughEffect(TDrawItem& first, TDrawItem& second, TEffectSlide which, TDrawFilter& transition);
  void DrawCustomTransition(TDrawItem& first, TDrawItem& second, TDrawFilter& transition);
  // An effect buffer picture of a custom transition's slide: the slide it stands for.
  void DrawEffectBuffer(const TImageDraw& image);
  TMaskBuffers& MaskBuffersFor(int depth);
  // Covers the drawer's rectangle.
  void SizeMaskBuffers(TMaskBuffers& buffers);
  // The content tile at tileRect: the background under area, then content; false when
  // the tile cannot be drawn into.
  bool FillContentTile(TRenderTargetTexture& tile, const TRect& tileRect, const TRect& area, TDrawItem& content,
                       const TBitmapStore* pattern);
  // The mask tile at tileRect: the union of masks.
  bool FillMaskTile(TRenderTargetTexture& tile, const TRect& tileRect, std::span<const TImageDraw> masks);
  // Where masks can be drawn straight onto the frame over the content tiles, the part of
  // the screen the mask may touch; empty when the group goes through the mask tiles.
  TRect DirectMaskReach(std::span<const TImageDraw> masks) const;
  // mask drawn onto area of the frame (within the content tile at tileRect), showing the
  // content tile under its alpha; false when nothing could be drawn.
  bool DrawMaskOverContent(const TImageDraw& mask, TRenderTargetTexture& tile, const TRect& tileRect,
                           const TRect& area);
  // pattern repeated in a grid of its own size from the slide area's corner, over area.
  void DrawPattern(const TBitmapStore& pattern, const TRect& area);

  T3DEngine& FEngine;
  TNotification FOnReady;
  TNotification FOnLost;
  // Init, Close and the texture stores.
  std::recursive_mutex FLock;
  // Declared before everything that draws on it, which so goes before it.
  std::unique_ptr<T3DScreen> FScreen;
  bool FInitialised = false;
  bool FReady = false;
  // The adapter is Intel's: there masked groups always go through their mask tiles.
  bool FIntel = false;
  uint32_t FHiderColour = 0xFF000000u;
  TDrawerShaders FShaders;
  std::unique_ptr<TTextureManager6> FTiles;
  // Its tiles come from FTiles.
  std::unique_ptr<TImageStore> FPatternStore;
  std::unique_ptr<TBoxAntialiaser> FBoxes;
  std::unique_ptr<TRenderTargetEffecter> FEffecter;
  // One pair per nesting depth of masked groups.
  std::vector<std::unique_ptr<TMaskBuffers>> FMaskBuffers;
  int FMaskDepth = 0;
  std::unique_ptr<TRenderTargetTexture> FPostTarget;
  bool FDrawingForEffect = false;
  bool FDrawingCustomEffect = false;
  bool FDrawingPostProcess = false;
  std::shared_ptr<TYUVRegistry> FVideos;
};

}  // namespace kiv
