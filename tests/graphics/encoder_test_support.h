#pragma once
// Helpers for the JPEG, GIF and PNG tests, whose files come from real encoders run at
// test time (cjpeg, djpeg, gifsicle, ImageMagick's convert): a folder per test, commands
// that must succeed (a missing tool fails the test), other programs' decodes to compare
// with, and damaged copies of good files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bmp_test_support.h"
#include "support/test_folder.h"

namespace kiv::test {

// A folder of its own for the running test, and its files quoted for the shell.
class EncoderFolderTest : public TempFolderTest {
 protected:
  EncoderFolderTest() : TempFolderTest("kiv_enc_") {}
  std::string In(const std::string& name) const { return "'" + (folder / name).string() + "'"; }
};

inline ::testing::AssertionResult Ran(const std::string& command) {
  const int status = std::system((command + " 2>/dev/null").c_str());
  if (status == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed (status " << status << "): " << command;
}

// What a shell command writes to its standard output.
inline std::vector<uint8_t> CommandOutput(const std::string& command) {
  std::vector<uint8_t> bytes;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char piece[65536];
    for (size_t n; (n = std::fread(piece, 1, sizeof piece, pipe)) > 0;) bytes.insert(bytes.end(), piece, piece + n);
    ::pclose(pipe);
  }
  return bytes;
}

// A binary PPM (P6) of picture, the input format of cjpeg; alpha is dropped.
inline void WritePpm(const fs::path& path, const TArgbPicture& picture) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << picture.Width << " " << picture.Height << "\n255\n";
  for (uint32_t argb : picture.Pixels) {
    const char rgb[3] = {char(argb >> 16), char(argb >> 8), char(argb)};
    out.write(rgb, 3);
  }
}

// A picture with smooth gradients and a few edges, like a photograph.
inline TArgbPicture PhotoLikePicture(int width, int height) {
  TArgbPicture picture{width, height, {}};
  picture.Pixels.reserve(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t r = uint32_t(x * 255 / width);
      const uint32_t g = uint32_t(y * 255 / height);
      const uint32_t b = ((x / 64 + y / 64) % 2) ? 200u : 40u;
      picture.Pixels.push_back(0xFF000000u | r << 16 | g << 8 | b);
    }
  return picture;
}

// A PNM picture (P5 grey or P6 colour, maximum 255) as opaque pixels.
inline TArgbPicture PnmPicture(const std::vector<uint8_t>& bytes) {
  TArgbPicture picture;
  std::string magic;
  int maximum = 0;
  std::string text(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64));
  std::istringstream header(text);
  header >> magic >> picture.Width >> picture.Height >> maximum;
  const size_t start = size_t(header.tellg()) + 1;
  const int channels = magic == "P6" ? 3 : 1;
  if ((magic != "P5" && magic != "P6") || maximum != 255 ||
      bytes.size() < start + size_t(picture.Width) * size_t(picture.Height) * size_t(channels))
    return {};
  for (size_t i = 0; i < size_t(picture.Width) * size_t(picture.Height); ++i) {
    const uint8_t* p = bytes.data() + start + i * size_t(channels);
    const uint32_t r = p[0], g = p[channels > 1 ? 1 : 0], b = p[channels > 1 ? 2 : 0];
    picture.Pixels.push_back(0xFF000000u | r << 16 | g << 8 | b);
  }
  return picture;
}

// ImageMagick's decode of the first picture in file, width × height, as RGBA.
inline TArgbPicture ImageMagickPicture(const fs::path& file, int width, int height) {
  const std::vector<uint8_t> rgba = CommandOutput("convert '" + file.string() + "[0]' -depth 8 rgba:-");
  TArgbPicture picture{width, height, {}};
  if (rgba.size() != size_t(width) * size_t(height) * 4) return {};
  for (size_t i = 0; i < rgba.size(); i += 4)
    picture.Pixels.push_back(uint32_t(rgba[i + 3]) << 24 | uint32_t(rgba[i]) << 16 | uint32_t(rgba[i + 1]) << 8 |
                             rgba[i + 2]);
  return picture;
}

// Copies of good cut at many lengths and with a few bytes changed at random places.
inline std::vector<std::vector<uint8_t>> DamagedCopies(const std::vector<uint8_t>& good, unsigned seed) {
  std::vector<std::vector<uint8_t>> copies;
  const size_t step = std::max<size_t>(1, good.size() / 97);
  for (size_t length = 0; length < good.size(); length += step)
    copies.emplace_back(good.begin(), good.begin() + std::ptrdiff_t(length));
  std::mt19937 random(seed);
  for (int copy = 0; copy < 150; ++copy) {
    std::vector<uint8_t> flipped = good;
    const int flips = 1 + copy % 8;
    for (int i = 0; i < flips; ++i) flipped[random() % flipped.size()] ^= uint8_t(1 + random() % 255);
    copies.push_back(std::move(flipped));
  }
  return copies;
}

// Opens bytes with loader and decodes every level the store makes: false when the
// loader refuses the data. Damaged data may give any picture, but must give one.
inline bool DecodesEveryLevel(TPictureLoader loader, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  const std::shared_ptr<TBitmapStore> store = loader(stream, u"damaged");
  if (!store) return false;
  for (int level = 0; level < store->LevelCount(); ++level) {
    const std::shared_ptr<const TBitmap> bitmap = store->GetMipLevel(level);
    EXPECT_TRUE(bitmap && bitmap->Width() > 0 && bitmap->Height() > 0);
  }
  return true;
}

}  // namespace kiv::test
