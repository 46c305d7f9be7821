#pragma once
// Slides of the standard object kinds for the kind tests: a show folder on disk whose
// pictures are made by ImageMagick, a host over it with the standard kinds and picture
// providers, and a drawer that records what the objects ask of it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/text.h"
#include "container/file_accessor.h"
#include "model/kiv_slide.h"
#include "model/model_test_support.h"
#include "model/slide_host.h"
#include "model/standard_object_kinds.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

namespace fs = std::filesystem;

// A picture made for a test, held only by the test.
inline std::shared_ptr<TBitmapStore> BlankPicture(int width, int height) {
  return std::make_shared<TWrapperBitmapStore>(std::make_unique<TBitmap>(width, height, TPixelFormat::Bgra32));
}

// A folder of the running test, emptied when made and removed afterwards.
struct TTestFolder {
  fs::path Path = fs::temp_directory_path() / ("kiv_kinds_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TTestFolder() {
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TTestFolder() { fs::remove_all(Path); }
  std::u16string Base() const { return Utf8ToUtf16(Path.string()) + u"/"; }
};

// An 800 × 600 slide centred at (400, 300) of the slide area, seen from (400, 300, −600),
// whose show files lie in a folder of the running test.
class KindsTest : public ::testing::Test {
 protected:
  static constexpr float kWidth = 800;
  static constexpr float kHeight = 600;

  TTestFolder files;
  fs::path folder = files.Path;
  std::shared_ptr<TRealFileSource> source = std::make_shared<TRealFileSource>(files.Base());
  TFileAccessor accessor{source, files.Base()};
  TKivSlideHost host{&accessor, StandardObjectKinds()};
  std::unique_ptr<TIniFile> project;
  std::unique_ptr<TKivSlide> slide;

  KindsTest() {
    host.SetCameraQuery([] { return TVector3{kWidth / 2, kHeight / 2, -kHeight}; });
    InstallStandardPictureProviders(host);
  }

  // Runs an ImageMagick command in the show folder; the test fails when it fails.
  void Magick(const std::string& arguments) {
    const std::string command = "cd '" + folder.string() + "' && convert " + arguments + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  void PutFile(const std::string& name, const std::string& text) {
    fs::create_directories((folder / name).parent_path());
    std::ofstream(folder / name, std::ios::binary) << text;
  }

  // A new slide read from the project text's "[Slide1]".
  void Read(std::string_view text) {
    project = ParseProject(text);
    slide = std::make_unique<TKivSlide>(host);
    slide->SetSize({kWidth, kHeight});
    slide->SetCentre(kWidth / 2, kHeight / 2);
    slide->SetTiming({0, 10000, 0, 0, 10000, {}});
    slide->ReadChildren(*project->FindSection(u"Slide1"));
  }
  // The same slide re-read from changed text.
  void Reread(std::string_view text) {
    project = ParseProject(text);
    slide->ReadChildren(*project->FindSection(u"Slide1"));
  }
  // Loads every object's resources, as the slide loader does.
  void Prepare() {
    struct TTreeContext : IPrepareContext {
      void Add(TKivObject& object) override { object.Prepare(*this); }
    } context;
    slide->Prepare(context);
  }
  void AdvanceTo(double time) { slide->Advance(true, time); }

  TKivObject& Child(size_t index) const { return *slide->Children().at(index); }
  template <typename T>
  T& ChildAs(size_t index) const {
    T* object = dynamic_cast<T*>(&Child(index));
    EXPECT_NE(object, nullptr) << "child " << index;
    return *object;
  }
};

// Remembers every call an object makes.
class TRecordingDrawer : public TDeviceDrawer {
 public:
  struct TImageCall {
    const TBitmapStore* Picture;
    TQuadPlace Place;
    TPictureParams Params;
  };
  struct TBoxCall {
    TQuadPlace Place;
    TBoxParams Box;
  };
  struct TFrameCall {
    TQuadPlace Place;
    TFrameParams Frame;
  };
  // The masks given, and what the content drew meanwhile.
  struct TMaskedCall {
    std::vector<TImageCall> Masks;
    const TBitmapStore* Pattern;
    size_t ContentImages = 0;
    size_t ContentBoxes = 0;
  };

  bool IsReady() const override { return true; }
  void Draw(TDrawItem& item) override { item.Draw(*this); }
  void DrawImage(const TImageDraw& image) override {
    Images.push_back({image.Picture, image.Place, image.Params});
    if (image.Store && !*image.Store) *image.Store = std::make_unique<TImageStore>();
  }
  void FreeImageStore(std::unique_ptr<TImageStore>& store) override {
    ++FreedStores;
    store.reset();
  }
  void DrawBox(const TQuadPlace& place, const TBoxParams& box) override { Boxes.push_back({place, box}); }
  void DrawFrame(const TQuadPlace& place, const TFrameParams& frame) override { Frames.push_back({place, frame}); }
  void DrawMaskedGroup(TDrawItem& content, std::span<const TImageDraw> masks, const TBitmapStore* pattern) override {
    TMaskedCall call{{}, pattern};
    for (const TImageDraw& mask : masks) call.Masks.push_back({mask.Picture, mask.Place, mask.Params});
    const size_t images = Images.size(), boxes = Boxes.size();
    content.Draw(*this);
    call.ContentImages = Images.size() - images;
    call.ContentBoxes = Boxes.size() - boxes;
    Masked.push_back(std::move(call));
  }

  std::vector<TImageCall> Images;
  std::vector<TBoxCall> Boxes;
  std::vector<TFrameCall> Frames;
  std::vector<TMaskedCall> Masked;
  int FreedStores = 0;
};

inline void ExpectNear(const TVector3& actual, const TVector3& expected) {
  EXPECT_NEAR(actual.X, expected.X, 1e-3);
  EXPECT_NEAR(actual.Y, expected.Y, 1e-3);
  EXPECT_NEAR(actual.Z, expected.Z, 1e-3);
}

}  // namespace kiv
