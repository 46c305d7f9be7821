#pragma once
// For the frame tests of kivshow render: shows of coloured slides written as project
// files, packed and rendered by the built kivshow, and the frames read back.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_stream.h"
#include "graphics/picture_loaders.h"
#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/pixels.h"

namespace kiv::testing {

namespace fs = std::filesystem;

// Runs the built kivshow in folder, with environment settings before it when given;
// answers its exit code, its output lands in log.
inline int RunKivShowBinary(const fs::path& folder, const std::string& arguments, const fs::path& log,
                            const std::string& environment = "") {
  const char* buildDir = testing::BuildFolder();
  if (!buildDir) return -2;
  const std::string command = "cd '" + folder.string() + "' && " + environment + " '" +
                              (fs::path(buildDir) / "kivshow").string() + "' " + arguments + " >'" + log.string() +
                              "' 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::shared_ptr<const TBitmap> LoadFrame(const fs::path& path) {
  if (!fs::exists(path)) return nullptr;
  TFileStream stream(path.string(), TFileMode::OpenRead);
  std::shared_ptr<TBitmapStore> store = LoadBitmapStore(stream, path.u16string());
  return store ? store->GetMipLevel(0, TPixelFormat::Bgr24) : nullptr;
}

// How many pixels differ by more than tolerance in some channel.
inline int DifferentPixels(const TBitmap& a, const TBitmap& b, int tolerance) {
  int different = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      for (int channel = 0; channel < 3; ++channel)
        if (std::abs(a.Row(y)[3 * x + channel] - b.Row(y)[3 * x + channel]) > tolerance) {
          ++different;
          break;
        }
  return different;
}

// One slide of a colour show: a background colour, the left half in another colour when
// given, or a picture of the show's files filling the slide; change: the slide's own keys
// for the change that brings it in (none: a cut).
struct TColourSlide {
  uint32_t Colour = 0;  // 0xRRGGBB
  std::optional<uint32_t> LeftHalf;
  std::string Picture;
  std::string Change;
};

// The keys of a change of class and type lasting ms, with more keys after them.
inline std::string ChangeKeys(int effectClass, int effectType, int ms, const std::string& more = "") {
  return "Effect_Class=" + std::to_string(effectClass) + "\nEffect_Type=" + std::to_string(effectType) +
         "\nEffectTime=" + std::to_string(ms) + "\n" + more;
}

// The project text of a show of width x height whose slides follow each other every
// slideMs milliseconds.
inline std::string ColourShow(int width, int height, int slideMs, const std::vector<TColourSlide>& slides) {
  const auto channels = [](uint32_t colour) {
    return std::to_string(colour >> 16) + "," + std::to_string((colour >> 8) & 0xFF) + "," +
           std::to_string(colour & 0xFF);
  };
  std::string text = "[main]\nopt_scr_width=" + std::to_string(width) + "\nopt_scr_height=" + std::to_string(height) +
                     "\nopt_repeat=close\nopt_slidescount=" + std::to_string(slides.size()) + "\n";
  for (size_t i = 1; i <= slides.size(); ++i)
    text += "opt_synchpos" + std::to_string(i) + "=" + std::to_string(int(i) * slideMs) + "\n";
  for (size_t i = 0; i < slides.size(); ++i) {
    const TColourSlide& slide = slides[i];
    text += "\n[Slide" + std::to_string(i + 1) + "]\nUsePersonal=1\nPers_Fon=1\nbstyle=1\nbname=" +
            std::to_string(slide.Colour) + "\nPers_Effect=" + (slide.Change.empty() ? "0" : "1") + "\n" + slide.Change;
    // A box half as wide as the slide, moved left by a quarter of it (positions count 200
    // across the slide).
    if (slide.LeftHalf)
      text += "object Left: Box\n  Size=" + std::to_string(width / 2) + "," + std::to_string(height) +
              "\n  Color1=" + channels(*slide.LeftHalf) + "\n  object Place: keypoint\n    Position=-50,0\n" +
              "  end\nend\n";
    if (!slide.Picture.empty()) text += "object Picture: Image\n  ImageName=" + slide.Picture + "\nend\n";
  }
  return text;
}

inline std::string TimeList(const std::vector<int>& times) {
  std::string list;
  for (int time : times) list += (list.empty() ? "" : ",") + std::to_string(time);
  return list;
}

inline std::string FrameName(int time) {
  const std::string digits = std::to_string(time);
  return "frame_" + std::string(digits.size() < 8 ? 8 - digits.size() : 0, '0') + digits + ".png";
}

// Writes project into folder, packs it and renders the frames at times (comma-separated)
// of size ("WxH") into folder / render; answers what failed, or nothing.
inline std::string PackAndRender(const fs::path& folder, const std::string& project, const std::string& size,
                                 const std::string& times, const std::string& render = "render") {
  std::ofstream(folder / "Project.kiv") << project;
  if (RunKivShowBinary(folder, "pack Project.kiv --data -o show.KvShow", folder / "pack.txt") != 0)
    return "pack failed: " + ReadAll(folder / "pack.txt");
  if (RunKivShowBinary(folder, "render show.KvShow -o " + render + " --size " + size + " --at " + times,
                       folder / "render.txt") != 0)
    return "render failed: " + ReadAll(folder / "render.txt");
  return "";
}

}  // namespace kiv::testing
