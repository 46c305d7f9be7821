// Pictures through the per-object texture stores: levels keep their place, keys reuse
// tiles, freed stores return them, animation cells, tinting, and pictures that cannot be
// decoded.
#include "drawer_test_support.h"
#include "render/drawer/texture_store.h"
#include "render/screen/texture_manager6.h"

namespace kiv {
namespace {

using namespace testing;

// The smallest rectangle holding every pixel that is not black.
TRect Covered(const TBitmap& shot) {
  TRect covered{shot.Width(), shot.Height(), 0, 0};
  for (int y = 0; y < shot.Height(); ++y)
    for (int x = 0; x < shot.Width(); ++x)
      if (PixelAt(shot, x, y) != 0xFF000000u)
        covered = {std::min(covered.Left, x), std::min(covered.Top, y), std::max(covered.Right, x + 1),
                   std::max(covered.Bottom, y + 1)};
  return covered;
}

TImageDraw ImageAt(const TBitmapStore& picture, std::unique_ptr<TImageStore>& store, const TQuadPlace& place) {
  TImageDraw image;
  image.Picture = &picture;
  image.Store = &store;
  image.Place = place;
  image.Params.Smooth = false;
  return image;
}

TEST_F(DrawerTest, ReducedLevelsCoverTheSamePixels) {
  // A JPEG decodes its smaller levels itself; a decoded bitmap is halved by the drawer.
  std::shared_ptr<TBitmapStore> jpeg = ConvertedPicture("-size 96x64 xc:'rgb(250,40,40)' -quality 95", "level.jpg");
  ASSERT_TRUE(jpeg);
  ASSERT_GT(jpeg->LevelCount(), 1);
  std::shared_ptr<TBitmapStore> bitmap = SolidPicture(96, 64, 0xFF40F040);
  for (const auto& picture : {jpeg, bitmap}) {
    std::unique_ptr<TImageStore> store;
    TImageDraw image = ImageAt(*picture, store, Place(30, 20, 96, 64));
    const TRect expected{30, 20, 126, 84};
    for (int level = 0; level <= 2; ++level) {
      image.Params.Level = level;
      auto shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(image); });
      EXPECT_EQ(Covered(*shot), expected) << picture->ClassName() << " level " << level;
      EXPECT_NEAR(Green(PixelAt(*shot, 78, 52)), picture == bitmap ? 0xF0 : 40, 12);
    }
    FDrawer->FreeImageStore(store);
  }
}

TEST_F(DrawerTest, SameKeyReusesTilesAndFreedStoresReturnThem) {
  std::shared_ptr<TBitmapStore> picture = SolidPicture(300, 200, 0xFFFFFFFF);
  std::unique_ptr<TImageStore> slot;
  TImageDraw image = ImageAt(*picture, slot, Place(0, 0, 300, 200));
  Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(image); });
  auto* store = dynamic_cast<TTextureStore*>(slot.get());
  ASSERT_TRUE(store);
  ASSERT_EQ(store->Wrappers().size(), 1u);
  EXPECT_EQ(store->Wrappers()[0].Key, "MultiTexID: 0:1:1");
  const TMultiTexture6* first = store->Wrappers()[0].Texture.get();
  Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(image); });
  ASSERT_EQ(store->Wrappers().size(), 1u);
  EXPECT_EQ(store->Wrappers()[0].Texture.get(), first);
  image.Params.Level = 1;
  Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(image); });
  ASSERT_EQ(store->Wrappers().size(), 2u);
  EXPECT_EQ(store->Wrappers()[1].Key, "MultiTexID: 1:1:1");
  FDrawer->FreeImageStore(slot);
  EXPECT_FALSE(slot);

  // Returned tiles wait in their pools and are handed out again.
  TTextureManager6 tiles(FDrawer->Screen());
  TTextureStore own;
  TMultiTexture6* texture = own.Take(tiles, *picture, 0, 1, 1);
  ASSERT_TRUE(texture);
  EXPECT_EQ(own.Take(tiles, *picture, 0, 1, 1), texture);
  const size_t made = tiles.Manager(0).TileCount();
  EXPECT_EQ(tiles.Manager(0).FreeCount(), 0u);
  // Another picture under the same key replaces the first and takes its tiles.
  std::shared_ptr<TBitmapStore> other = SolidPicture(300, 200, 0xFF000000);
  own.Take(tiles, *other, 0, 1, 1);
  EXPECT_EQ(own.Wrappers().size(), 1u);
  EXPECT_EQ(tiles.Manager(0).TileCount(), made);
}

TEST_F(DrawerTest, AnimationCellsAndTintedPictures) {
  EXPECT_EQ(AnimationFrame(10, 6, 3, 2, 4).Left, 3);
  EXPECT_EQ(AnimationFrame(10, 6, 3, 2, 5).Right, 10);
  EXPECT_EQ(AnimationFrame(10, 6, 3, 2, 99).Top, 3);

  // Two cells: red on the left, blue on the right.
  auto bitmap = std::make_unique<TBitmap>(64, 32, TPixelFormat::Bgra32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(*bitmap, x, y, x < 32 ? 0xFFFF0000 : 0xFF0000FF);
  TWrapperBitmapStore cells(std::move(bitmap));
  std::unique_ptr<TImageStore> store;
  TImageDraw image = ImageAt(cells, store, Place(0, 0, 32, 32));
  image.Params.Columns = 2;
  image.Params.Frame = 1;
  auto shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(image); });
  EXPECT_EQ(PixelAt(*shot, 0, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(*shot, 31, 31), 0xFF0000FFu);

  // A dark text shape takes the tint colour, not a darkened one.
  std::shared_ptr<TBitmapStore> text = SolidPicture(16, 16, 0xFF000000);
  std::unique_ptr<TImageStore> textStore;
  TImageDraw tinted = ImageAt(*text, textStore, Place(40, 0, 16, 16));
  tinted.Params.Tinted = true;
  tinted.Params.TintColor = 0xFFFFC000;
  tinted.Params.Opacity = 50;
  shot = Frame([&](TDeviceDrawer& drawer) { drawer.DrawImage(tinted); });
  EXPECT_NEAR(Red(PixelAt(*shot, 48, 8)), 0x80, 1);
  EXPECT_NEAR(Green(PixelAt(*shot, 48, 8)), 0x60, 1);
  FDrawer->FreeImageStore(store);
  FDrawer->FreeImageStore(textStore);
}

// A picture whose pixels cannot be decoded.
class TBrokenStore : public TBitmapStore {
 public:
  TBrokenStore() : TBitmapStore(40, 40, TPixelFormat::Bgra32) {}
  const char* ClassName() const override { return "TBrokenStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int) override { return nullptr; }
};

TEST_F(DrawerTest, PictureThatCannotBeDecodedDrawsNothingAndTheFrameGoesOn) {
  TBrokenStore broken;
  std::unique_ptr<TImageStore> store;
  TImageDraw image = ImageAt(broken, store, Place(0, 0, 40, 40));
  auto shot = Frame([&](TDeviceDrawer& drawer) {
    drawer.DrawImage(image);
    drawer.DrawBox(Place(50, 0, 10, 10), SolidBox(0xFFFFFFFF));
  });
  EXPECT_EQ(PixelAt(*shot, 20, 20), 0xFF000000u);
  EXPECT_EQ(PixelAt(*shot, 55, 5), 0xFFFFFFFFu);
  FDrawer->FreeImageStore(store);
}

}  // namespace
}  // namespace kiv
