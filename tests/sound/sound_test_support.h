#pragma once
// Helpers for the decoder tests, whose sound files come from real encoders run at test
// time (sox, lame, oggenc, ffmpeg) and whose expected PCM comes from the reference
// decoders (sox, mpg123, oggdec, ffmpeg): a folder per test, commands that must succeed,
// whole decodes through the recogniser and the factory, and sample comparisons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/text.h"
#include "sound/converter_factory.h"
#include "sound/sound_streams.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv::test {

namespace fs = std::filesystem;

class SoundFolderTest : public TempFolderTest {
 protected:
  SoundFolderTest() : TempFolderTest("kiv_snd_") {}
  fs::path File(const std::string& name) const { return folder / name; }
  std::string In(const std::string& name) const { return "'" + (folder / name).string() + "'"; }
};

inline ::testing::AssertionResult Ran(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  if (status == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "failed (status " << status << "): " << command;
}

// What a shell command writes to its standard output.
inline std::vector<uint8_t> CommandOutput(const std::string& command) {
  std::vector<uint8_t> bytes;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char piece[65536];
    for (size_t n; (n = std::fread(piece, 1, sizeof piece, pipe)) > 0;) bytes.insert(bytes.end(), piece, piece + n);
    ::pclose(pipe);
  }
  return bytes;
}

inline std::vector<int16_t> Samples16(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = int16_t(uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8));
  return samples;
}

// A sound opened the way the player opens one: its stream, media and converter (none of
// them when it is not recognised or has no decoder).
struct TOpened {
  std::unique_ptr<TStream> Stream;
  std::optional<TMediaInfo> Media;
  std::unique_ptr<TWavConverter> Converter;
};

inline TOpened OpenSound(const std::string& name, const TWaveFormat* target = nullptr) {
  TOpened sound;
  std::optional<TOpenedSound> opened = kiv::OpenSound(Utf8ToUtf16(name), nullptr);
  if (!opened) return sound;
  sound.Stream = std::move(opened->Stream);
  sound.Media = opened->Media;
  sound.Converter = std::move(opened->Converter);
  if (target) sound.Converter->SetTargetFormat(*target);
  return sound;
}

// Everything the converter still delivers, without the silence that pads the end.
inline std::vector<uint8_t> ReadToEnd(TWavConverter& converter, size_t piece = 1) {
  std::vector<uint8_t> bytes;
  while (converter.Read(piece)) {
    TLocalBuffer& out = converter.Output();
    bytes.insert(bytes.end(), out.Data(), out.Data() + out.Size());
    out.Clear();
  }
  return bytes;
}

// The whole decode of a file (empty when it is not recognised or has no decoder).
inline std::vector<uint8_t> DecodeFile(const fs::path& path, const TWaveFormat* target = nullptr) {
  TOpened sound = OpenSound(path.string(), target);
  if (!sound.Converter) return {};
  return ReadToEnd(*sound.Converter);
}

// Whether two 16-bit sample runs are the same length and differ by at most tolerance
// anywhere (with the first difference when not).
inline ::testing::AssertionResult SamplesMatch(const std::vector<int16_t>& actual, const std::vector<int16_t>& expected,
                                               int tolerance = 0) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " samples, expected " << expected.size();
  for (size_t i = 0; i < actual.size(); ++i)
    if (std::abs(actual[i] - expected[i]) > tolerance)
      return ::testing::AssertionFailure() << "sample " << i << " is " << actual[i] << ", expected " << expected[i];
  return ::testing::AssertionSuccess();
}

}  // namespace kiv::test
