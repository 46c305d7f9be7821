#pragma once
// Video clips made by ffmpeg at test time whose every picture carries its own frame
// number: kNumberBars bars of kBarWidth pixels across the picture, bar k white when bit
// k of the number is set and black otherwise. The number survives any lossy codec at
// the quality asked for, and can be read back from a luma plane or from RGB pixels.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace kiv::test {

inline constexpr int kBarWidth = 16;
inline constexpr int kNumberBars = 10;
inline constexpr int kClipWidth = kBarWidth * kNumberBars;  // 160
inline constexpr int kClipHeight = 64;

struct TClipRecipe {
  std::string Encoder = "libx264";  // ffmpeg encoder and its options
  std::string Rate = "25";          // frames per second, as ffmpeg takes it ("30000/1001")
  double Seconds = 2;
  bool Sound = false;      // a 440 Hz tone beside the pictures
  bool Interlaced = false;  // coded as fields, top first
  std::string Size = std::to_string(kClipWidth) + "x" + std::to_string(kClipHeight);
};

// Makes path (its extension chooses the container); false when ffmpeg fails.
inline bool MakeNumberedClip(const std::filesystem::path& path, const TClipRecipe& recipe = {}) {
  const std::string pattern =
      "geq=lum='if(bitand(N\\,pow(2\\,floor(X/" + std::to_string(kBarWidth) + ")))\\,235\\,16)':cb=128:cr=128";
  std::string command = "ffmpeg -v error -y -f lavfi -i 'color=c=black:s=" + recipe.Size + ":r=" + recipe.Rate +
                        ":d=" + std::to_string(recipe.Seconds) + "'";
  if (recipe.Sound)
    command += " -f lavfi -i 'sine=frequency=440:sample_rate=44100:d=" + std::to_string(recipe.Seconds) + "'";
  command += " -vf \"" + pattern + (recipe.Interlaced ? ",setfield=tff\"" : "\"");
  command += " -c:v " + recipe.Encoder;
  if (recipe.Encoder == "libx264") command += recipe.Interlaced ? " -x264-params interlaced=1:tff=1" : "";
  if (recipe.Encoder != "libx264") command += " -q:v 2";
  command += " -pix_fmt " + std::string(recipe.Encoder == "mjpeg" ? "yuvj420p" : "yuv420p");
  if (recipe.Sound) command += " -c:a " + std::string(path.extension() == ".avi" ? "pcm_s16le" : "aac");
  command += " '" + path.string() + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// The number a picture carries: luma(x, y) gives the brightness (0 … 255) of a pixel of
// the picture, whose width is barWidth × kNumberBars. Each bar is read at its middle.
inline int ReadFrameNumber(const std::function<int(int x, int y)>& luma, int barWidth = kBarWidth,
                           int height = kClipHeight) {
  int number = 0;
  for (int bar = 0; bar < kNumberBars; ++bar)
    if (luma(bar * barWidth + barWidth / 2, height / 2) > 128) number |= 1 << bar;
  return number;
}

}  // namespace kiv::test
