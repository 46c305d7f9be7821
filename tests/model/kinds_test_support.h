#pragma once
// Slides of the standard kinds over a show folder of the running test (pictures made
// by ImageMagick), and a drawer that records what the objects ask of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "container/file_accessor.h"
#include "model/kiv_slide.h"
#include "model/prepare_now.h"
#include "model/slide_host.h"
#include "model/standard_object_kinds.h"
#include "render/drawer/device_drawer.h"
#include "support/bytes.h"
#include "support/project_text.h"
#include "support/test_folder.h"

namespace kiv {

namespace fs = std::filesystem;

inline std::shared_ptr<TBitmapStore> BlankPicture(int width, int height) {
  return std::make_shared<TWrapperBitmapStore>(std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32));
}

// An 800 × 600 slide centred at (400, 300), seen from (400, 300, −600).
class KindsTest : public ::testing::Test {
 protected:
  TTestFolder files{"kiv_kinds_"};
  std::shared_ptr<TRealFileSource> source = std::make_shared<TRealFileSource>(FilesBase());
  TFileAccessor accessor{source, FilesBase()};
  TKivSlideHost host{&accessor, StandardObjectKinds()};
  std::unique_ptr<TIniFile> project;
  std::unique_ptr<TKivSlide> slide;

  KindsTest() {
    host.SetCameraQuery([] { return TVector3{400, 300, -600}; });
    InstallStandardPictureProviders(host);
  }
  // The test's folder as the show's base: "<folder>/".
  std::u16string FilesBase() const { return Utf8ToUtf16(files.Path().string()) + u"/"; }
  void Magick(const std::string& arguments) {
    const std::string command = "cd '" + files.Path().string() + "' && convert " + arguments + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  void PutFile(const std::string& name, std::string_view text) { WriteAll(files.Path() / name, text); }
  // A new slide from "[Slide1]" of text, or the same slide re-read.
  void Read(std::string_view text, bool reread = false) {
    project = ParseProject(text);
    if (!reread) {
      slide = std::make_unique<TKivSlide>(host);
      slide->SetSize({800, 600});
      slide->SetCentre(400, 300);
      slide->SetTiming({0, 10000, 0, 0, 10000, {}});
    }
    slide->ReadChildren(*project->FindSection(u"Slide1"));
  }
  // Loads every object's resources, as the slide loader does.
  void Prepare() { PrepareNow(*slide); }
  void AdvanceTo(double time) { slide->Advance(true, time); }
  TKivObject& Child(size_t index) const { return *slide->Children().at(index); }
  template <typename T>
  T& ChildAs(size_t index) const {
    return dynamic_cast<T&>(Child(index));
  }
};

class TRecordingDrawer : public TDeviceDrawer {
 public:
  struct TMaskedCall {
    std::vector<TImageDraw> Masks;
    size_t ContentBoxes = 0;
  };

  bool IsReady() const override { return true; }
  void Draw(TDrawItem& item) override { item.Draw(*this); }
  void DrawImage(const TImageDraw& image) override {
    Images.push_back(image);
    if (!*image.Store) *image.Store = std::make_unique<TImageStore>();
  }
  void FreeImageStore(std::unique_ptr<TImageStore>& store) override {
    ++FreedStores;
    store.reset();
  }
  void DrawBox(const TQuadPlace& place, const TBoxParams& box) override { Boxes.push_back({place, box}); }
  void DrawFrame(const TQuadPlace&, const TFrameParams& frame) override { Frames.push_back(frame); }
  void DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks, const TBitmapStore*) override {
    const size_t boxes = Boxes.size();
    content.Draw(*this);
    Masked.push_back({{masks.begin(), masks.end()}, Boxes.size() - boxes});
  }

  std::vector<TImageDraw> Images;
  std::vector<std::pair<TQuadPlace, TBoxParams>> Boxes;
  std::vector<TFrameParams> Frames;
  std::vector<TMaskedCall> Masked;
  int FreedStores = 0;
};

inline void ExpectNear(const TVector3& actual, const TVector3& expected) {
  EXPECT_NEAR(actual.X, expected.X, 1e-3);
  EXPECT_NEAR(actual.Y, expected.Y, 1e-3);
  EXPECT_NEAR(actual.Z, expected.Z, 1e-3);
}

}  // namespace kiv
