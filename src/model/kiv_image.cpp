#include "model/kiv_image.h"

#include <algorithm>
#include <cmath>

#include "model/object_quad.h"
#include "model/sample_level.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

float FiniteOrZero(double value) { return std::isfinite(float(value)) ? float(value) : 0; }

// The grid of a picture whose keys leave the frame count to the picture: an animated
// picture decoded as a strip of frames brings its own layout, durations and loops.
TAnimKeys AnimKeysFor(const TAnimKeys& keys, const TBitmapStore* picture) {
  const bool derived = keys.Count <= 0 && keys.Columns <= 1 && keys.Rows <= 1;
  if (!derived || !picture || !picture->Tiles()) return keys;
  const TTilesTag& tiles = *picture->Tiles();
  TAnimKeys fromPicture = keys;
  fromPicture.Columns = tiles.Columns;
  fromPicture.Rows = tiles.Rows;
  if (keys.Intervals.empty()) {
    for (std::u16string_view item : SplitIniList(tiles.Durations)) {
      int32_t duration = 0;
      if (!ParseIniInteger(item, duration)) break;
      fromPicture.Intervals.push_back(duration);
    }
  }
  if (keys.RepCount <= 0) fromPicture.RepCount = tiles.LoopCount;
  return fromPicture;
}

}  // namespace

TKivImage::TKivImage(TKivObject& parent, std::u16string guid) : TKivObject(parent, std::move(guid)) {}

TKivImage::~TKivImage() = default;

void TKivImage::SetLook(TButtonState look) {
  if (look == FLook) return;
  FLook = look;
  SetContentChanged();
}

void TKivImage::ReadProperties(const TIniIdentList& section) {
  SetImageKeys(ReadImageKeys(section, Kind()));
  TKivObject::ReadProperties(section);
}

void TKivImage::SetImageKeys(TImageKeys keys) {
  FKeys = std::move(keys);
  UpdateGrid();
}

void TKivImage::UpdateGrid() { FGrid = TAnimGrid(AnimKeysFor(FKeys.Anim, FPicture.get())); }

std::u16string TKivImage::PictureName() const { return PictureSourceName(FKeys); }

void TKivImage::LoadResources(IPrepareContext&) {
  EnsurePicture();
  if (!FPicture || !Shadow().Enabled) return;
  // A grid's shadow follows its frames; a long animation keeps the shadows of its first
  // frames only.
  constexpr int32_t kMostShadowFrames = 64;
  const int32_t frames = FGrid.IsGrid() ? std::clamp(FGrid.FrameCount(), 1, kMostShadowFrames) : 1;
  for (int32_t frame = 0; frame < frames; ++frame) FDropShadow.Prepare(*this, ShadowCaster(ShadowParams(frame)));
}

TPictureParams TKivImage::ShadowParams(int32_t frame) const {
  TPictureParams params;
  params.Frame = frame;
  return params;
}

void TKivImage::EnsurePicture() {
  std::u16string name = PictureName();
  if (FAskedName == name) return;
  FAskedName = name;
  if (name.empty()) return;
  std::shared_ptr<TBitmapStore> picture;
  try {
    picture = Host().LoadPicture(name);
  } catch (const std::exception&) {
    // a provider that fails counts as a picture that cannot be made
  }
  if (!picture) return;
  FPicture = std::move(picture);
  UpdateGrid();
  TakePictureSize(*FPicture);
  SetContentChanged();
}

void TKivImage::TakePictureSize(const TBitmapStore& picture) {
  SetSize({float(picture.Width()) / float(FGrid.Columns()), float(picture.Height()) / float(FGrid.Rows())});
}

int32_t TKivImage::CurrentFrame() const {
  if (!FGrid.IsGrid()) return 0;
  return FGrid.FrameAt(KeyPoints().LastTime() - (OriginTime(TKeyOrigin::SlideBegin) + DeltaTime1()));
}

void TKivImage::SetTime(bool recursive, double time) {
  TKivObject::SetTime(recursive, time);
  const int32_t frame = CurrentFrame();
  if (frame == FFrame) return;
  FFrame = frame;
  SetContentChanged();
}

TPictureParams TKivImage::PictureParams(const TQuadPlace& place) const {
  const bool grid = FGrid.IsGrid();
  TPictureParams params;
  params.Smooth = FKeys.Antialiased && !grid;
  params.Opacity = EffectiveOpacity();
  params.Sampling = TSampling(FKeys.Filtering);
  // A grid cell is cut from the full picture, so it is never sampled smaller.
  if (!grid)
    params.Level = SampleLevel(FPicture->Width(), FPicture->Height(), std::sqrt(Dot(place.AxisX, place.AxisX)),
                               std::sqrt(Dot(place.AxisY, place.AxisY)));
  params.MipLodBias = FiniteOrZero(FKeys.MipLodBias);
  params.Columns = FGrid.Columns();
  params.Rows = FGrid.Rows();
  params.Frame = CurrentFrame();
  if (FKeys.EnableBorder && !grid) {
    params.BorderWidth = FiniteOrZero(FKeys.BorderWidth);
    params.BorderColor = FKeys.BorderColor;
  }
  return params;
}

std::optional<TImageDraw> TKivImage::ImageDraw() {
  EnsurePicture();
  if (!FPicture || !AtLeastOnePixel(Size())) return std::nullopt;
  TImageDraw image;
  image.Picture = FPicture.get();
  image.Store = &FImageStore;
  image.EffectBuffer = FKeys.ReplaceWithEffectBuffer;
  image.Place = PictureQuad();
  image.Params = PictureParams(image.Place);
  return image;
}

TQuadPlace TKivImage::PictureQuad() const { return ObjectQuad(*this); }

TShadowCaster TKivImage::ShadowCaster(const TPictureParams& params) const {
  TShadowCaster caster = PictureShadowCaster(PictureName(), Size(), params.Level);
  caster.Store = FPicture;
  if (FGrid.IsGrid()) {
    caster.CellWidth = FPicture->Width() / FGrid.Columns();
    caster.CellHeight = FPicture->Height() / FGrid.Rows();
    caster.CellLeft = params.Frame % FGrid.Columns() * caster.CellWidth;
    caster.CellTop = params.Frame / FGrid.Columns() % FGrid.Rows() * caster.CellHeight;
  }
  return caster;
}

void TKivImage::Draw(TDeviceDrawer& drawer) {
  if (Visible())
    if (const std::optional<TImageDraw> image = ImageDraw()) {
      FDropShadow.Draw(drawer, *this, ShadowCaster(ShadowParams(image->Params.Frame)), image->Place);
      drawer.DrawImage(*image);
      DrawOver(drawer, *image);
    }
  TKivObject::Draw(drawer);
}

void TKivImage::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  if (FImageStore) drawer.FreeImageStore(FImageStore);
  FDropShadow.ReleaseDeviceObjects(drawer);
  TKivObject::ReleaseDeviceObjects(drawer);
}

}  // namespace kiv
