#include "model/object_shadow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/shadow_picture_provider.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

constexpr double kDefaultRadius = 1.875;

uint8_t ColorByte(uint32_t color, int shift) { return uint8_t(color >> shift); }

int32_t WholePixels(float value) { return int32_t(std::clamp(std::lround(value), 1L, long(kMaxPictureSide))); }

float Length(const TVector3& v) { return std::sqrt(Dot(v, v)); }

TVector3 Unit(const TVector3& v) {
  const float length = Length(v);
  return length > 0 ? v * (1 / length) : TVector3{};
}

TVector3 ShadowOffset(const TShadowParams& shadow, const TShadowCaster& caster, const TPlacementFrame& frame) {
  const double length =
      shadow.Distance * caster.OffsetMeasure / 100 * std::sqrt(Length(frame.AxisX) * Length(frame.AxisY));
  const double angle = shadow.Angle * std::numbers::pi / 180;
  const float dx = float(std::cos(angle) * length), dy = float(std::sin(angle) * length);
  if (shadow.Follows3D) return Unit(frame.AxisX) * dx + Unit(frame.AxisY) * dy;
  return {dx, dy, 0};
}

}  // namespace

TShadowCaster PictureShadowCaster(std::u16string picture, TSizeF size, int32_t level) {
  TShadowCaster caster;
  caster.Picture = std::move(picture);
  caster.Level = level;
  const float levelScale = std::ldexp(1.0f, -level);
  caster.LevelSize = {size.Width * levelScale, size.Height * levelScale};
  caster.OffsetMeasure = std::sqrt(size.Width * size.Height);
  caster.BlurFactor = std::sqrt(caster.LevelSize.Width * caster.LevelSize.Height) / 400;
  return caster;
}

TShadowPictureKey ShadowKey(const TShadowParams& shadow, const TShadowCaster& caster) {
  double radius = double(shadow.Size) * caster.BlurFactor + 1;
  if (!(radius > 0)) radius = kDefaultRadius;
  TShadowPictureKey key;
  key.Width = WholePixels(caster.LevelSize.Width);
  key.Height = WholePixels(caster.LevelSize.Height);
  key.Level = caster.Level;
  key.RadiusMilli = int32_t(std::clamp(std::lround(radius * 1000), 1L, 1000L * kMaxPictureSide));
  key.Red = ColorByte(shadow.Color, 16);
  key.Green = ColorByte(shadow.Color, 8);
  key.Blue = ColorByte(shadow.Color, 0);
  key.Alpha = uint8_t(std::lround(std::clamp(shadow.Opacity, 0.0f, 100.0f) * 255 / 100));
  key.SpreadIndex = std::clamp(shadow.SpreadIndex, -kMaxSpreadIndex, kMaxSpreadIndex);
  key.CellLeft = caster.CellLeft;
  key.CellTop = caster.CellTop;
  key.CellWidth = caster.CellWidth;
  key.CellHeight = caster.CellHeight;
  key.CasterAlpha = caster.Alpha;
  key.Caster = caster.Picture;
  return key;
}

namespace {

TQuadPlace GrownPlace(const TShadowLayout& layout, const TShadowParams& shadow, const TShadowCaster& caster,
                      const TPlacementFrame& frame, const TQuadPlace& place) {
  const float grownX = float(layout.Border) / float(layout.Width);
  const float grownY = float(layout.Border) / float(layout.Height);
  return {place.Origin - place.AxisX * grownX - place.AxisY * grownY + ShadowOffset(shadow, caster, frame),
          place.AxisX * (1 + 2 * grownX), place.AxisY * (1 + 2 * grownY)};
}

}  // namespace

TQuadPlace ShadowPlace(const TShadowParams& shadow, const TShadowCaster& caster, const TPlacementFrame& frame,
                       const TQuadPlace& place) {
  return GrownPlace(ShadowLayout(ShadowKey(shadow, caster)), shadow, caster, frame, place);
}

TObjectShadow::TObjectShadow() = default;

TObjectShadow::~TObjectShadow() = default;

TShadowPictureKey TObjectShadow::MatchKey(const TShadowParams& shadow, const TShadowCaster& caster) {
  TShadowPictureKey key = ShadowKey(shadow, caster);
  if (caster.Store && IsVirtualPictureName(caster.Picture)) key.Caster.clear();
  return key;
}

void TObjectShadow::Prepare(const TKivObject& object, const TShadowCaster& caster) {
  const TShadowParams& shadow = object.Shadow();
  if (!shadow.Enabled || !object.Host().ShadowsMade()) return;
  const TShadowPictureKey match = MatchKey(shadow, caster);
  {
    std::lock_guard lock(FLock);
    for (const TPrepared& prepared : FPrepared)
      if (prepared.Key == match) return;
  }
  std::shared_ptr<TBitmapStore> picture;
  try {
    picture = MakePicture(object, caster, ShadowKey(shadow, caster));
  } catch (const std::exception&) {
    // a shadow that cannot be made is not drawn
  }
  std::lock_guard lock(FLock);
  FPrepared.push_back({match, std::move(picture), nullptr});
}

void TObjectShadow::Draw(TDeviceDrawer& drawer, const TKivObject& object, const TShadowCaster& caster,
                         const TQuadPlace& place) {
  const TShadowParams& shadow = object.Shadow();
  const float opacity = object.EffectiveOpacity();
  if (!shadow.Enabled || !(opacity > 0)) return;
  const TShadowPictureKey match = MatchKey(shadow, caster);
  std::lock_guard lock(FLock);
  for (TPrepared& prepared : FPrepared) {
    if (!(prepared.Key == match)) continue;
    if (!prepared.Picture) return;
    TImageDraw image;
    image.Picture = prepared.Picture.get();
    image.Store = &prepared.ImageStore;
    image.Place = GrownPlace(ShadowLayout(prepared.Key), shadow, caster, object.Frame(), place);
    image.Params.Smooth = false;  // the shadow fades out within its own border
    image.Params.Opacity = opacity;
    image.Params.Sampling = TSampling::Bilinear;
    drawer.DrawImage(image);
    return;
  }
}

std::shared_ptr<TBitmapStore> TObjectShadow::MakePicture(const TKivObject& object, const TShadowCaster& caster,
                                                         const TShadowPictureKey& key) const {
  if (!caster.Store || !IsVirtualPictureName(caster.Picture))
    return object.Host().LoadPicture(ShadowPictureName(key));
  const std::shared_ptr<const TBitmap> picture = caster.Store->GetMipLevel(caster.Level, TPixelFormat::Bgra32);
  if (!picture) return nullptr;
  std::unique_ptr<TBitmap> shadow = MakeShadowPicture(key, picture.get());
  return shadow ? std::make_shared<TWrapperBitmapStore>(std::move(shadow)) : nullptr;
}

void TObjectShadow::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  std::lock_guard lock(FLock);
  for (TPrepared& prepared : FPrepared)
    if (prepared.ImageStore) drawer.FreeImageStore(prepared.ImageStore);
}

}  // namespace kiv
