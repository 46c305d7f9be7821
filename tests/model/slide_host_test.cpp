// The show services of the slides: pictures through the accessor and its providers,
// and the slide's background.
#include "model/slide_host.h"

#include <gtest/gtest.h>

#include "container/file_accessor.h"
#include "container/shared_pictures.h"
#include "model/slide_test_support.h"

namespace kiv {
namespace {

std::shared_ptr<TBitmapStore> Picture(int width, int height) {
  return std::make_shared<TWrapperBitmapStore>(std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32));
}

TEST(SlideHostPictures, FilesAreSharedVirtualNamesComeFromProvidersOnly) {
  auto source = std::make_shared<TRealFileSource>();
  TFileAccessor accessor(source, u"/nowhere/");
  TKivSlideHost host(&accessor, TestKinds());
  int made = 0;
  host.AddPictureProvider([&made](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
    if (name == u"Mask: star" || name == u"photo.jpg") return ++made, Picture(8, 4);
    return nullptr;
  });
  const size_t liveBefore = LiveImageHandles();
  {
    const std::shared_ptr<TBitmapStore> first = host.LoadPicture(u"photo.jpg");
    const std::shared_ptr<TBitmapStore> second = host.LoadPicture(u"PHOTO.JPG");
    EXPECT_EQ(first, second);  // one decoded picture while it is held
    EXPECT_EQ(made, 1);
    EXPECT_EQ(LiveImageHandles(), liveBefore + 1);
  }
  EXPECT_EQ(LiveImageHandles(), liveBefore);

  EXPECT_EQ(host.LoadPicture(u"missing.jpg")->Width(), 320);  // the placeholder
  EXPECT_EQ(host.LoadPicture(u"Mask: star")->Width(), 8);
  EXPECT_EQ(host.LoadPicture(u"Shadow: 1:2:N\\A"), nullptr);  // nothing makes it: nothing shows
  EXPECT_TRUE(IsVirtualPictureName(u"SlideEffectBuffer2"));
  EXPECT_FALSE(IsVirtualPictureName(u"text: lower case is a file"));

  TKivSlideHost without(nullptr, TestKinds());
  EXPECT_EQ(without.LoadPicture(u"photo.jpg"), nullptr);
}

TEST(SlideBackground, MainOptionsOrThePersonalSlideKeys) {
  auto project = ParseProject(
      "[main]\n"
      "opt_bstyle=3\n"
      "opt_bcolorstyle=7\n"
      "opt_bcolor1=255\n"
      "opt_bcolor2=65280\n"
      "[Slide1]\n"
      "UsePersonal=1\n"
      "Pers_Fon=1\n"
      "bstyle=2\n"
      "bname=back.jpg\n"
      "bsize=-5\n"
      "[Slide2]\n"
      "UsePersonal=1\n"
      "bstyle=1\n"
      "[Slide3]\n"
      "UsePersonal=1\n"
      "Pers_Fon=1\n"
      "bstyle=2\n"
      "[Slide4]\n"
      "UsePersonal=1\n"
      "Pers_Fon=1\n"
      "bstyle=1\n"
      "bname=16711680\n");
  const TIniSection& main = *project->FindSection(u"main");
  const TSlideBackground picture = ReadSlideBackground(main, project->FindSection(u"Slide1"));
  EXPECT_EQ(picture.Style, TBackgroundStyle::Picture);
  EXPECT_EQ(picture.PictureName, u"back.jpg");
  EXPECT_EQ(picture.SizePercent, 100);

  const TSlideBackground gradient = ReadSlideBackground(main, project->FindSection(u"Slide2"));  // no Pers_Fon
  EXPECT_EQ(gradient.Style, TBackgroundStyle::Gradient);
  EXPECT_EQ(gradient.GradientDirection, 1);
  EXPECT_EQ(gradient.Color1, 255u);
  EXPECT_EQ(gradient.Color2, 65280u);

  EXPECT_EQ(ReadSlideBackground(main, project->FindSection(u"Slide3")), TSlideBackground());  // picture without name
  EXPECT_EQ(ReadSlideBackground(main, project->FindSection(u"Slide4")).Color, 16711680u);
  EXPECT_EQ(ReadSlideBackground(main, nullptr), gradient);
}

TEST(SlideBackground, PictureFitsInsideAndIsHalvedWhileTwiceAsLarge) {
  TBackgroundFit fit = FitBackground({4000, 3000}, {800, 800}, 100);
  EXPECT_EQ(fit.Size, (TSizeF{800, 600}));
  EXPECT_EQ(fit.Halvings, 2);  // 1000 × 750 is still at least as large
  fit = FitBackground({4000, 3000}, {800, 800}, 50);
  EXPECT_EQ(fit.Halvings, 3);  // at most the last mip level
  EXPECT_EQ(FitBackground({1000, 1000}, {800, 600}, 100).Halvings, 0);

  // The slide loads its background picture with its resources.
  auto source = std::make_shared<TRealFileSource>();
  TFileAccessor accessor(source, u"/nowhere/");
  TTestSlide show("[main]\nopt_bstyle=2\nopt_bname=back.jpg\n[Slide1]\n");
  TKivSlideHost host(&accessor, TestKinds());
  TKivSlide slide(host);
  slide.ReadBackground(*show.Project->FindSection(u"main"), &show.Section());
  struct TNoContext : IPrepareContext {
    void Add(TKivObject&) override {}
  } context;
  slide.Prepare(context);
  ASSERT_TRUE(slide.BackgroundPicture());
  EXPECT_EQ(slide.BackgroundPicture()->Width(), 320);  // missing file: the placeholder
}

}  // namespace
}  // namespace kiv
