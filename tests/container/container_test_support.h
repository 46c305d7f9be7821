#pragma once
// Helpers shared by the container tests: files in a per-test folder, raw deflate,
// and a hand-made container whose index text the test chooses.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "container/container_format.h"

namespace kiv::test {

namespace fs = std::filesystem;

inline std::vector<uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutFileBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& plain) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&z, uLong(plain.size())));
  z.next_in = const_cast<Bytef*>(plain.data());
  z.avail_in = uInt(plain.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// A folder of its own for the running test, removed afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  fs::path folder;
  void SetUp() override {
    folder = fs::temp_directory_path() / ("kiv_" + std::to_string(::getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
};

// program bytes, then entries, then the deflated index text (UTF-8) and a trailer.
// "{P}" in the index text becomes the index position. indexPositionDelta moves the
// position the trailer records.
inline std::vector<uint8_t> HandMadeContainer(const std::vector<uint8_t>& program, std::string indexText,
                                              bool longTrailer, int64_t indexPositionDelta = 0) {
  std::vector<uint8_t> bytes = program;
  const int64_t indexPosition = int64_t(bytes.size());
  for (size_t at; (at = indexText.find("{P}")) != std::string::npos;)
    indexText.replace(at, 3, std::to_string(indexPosition));
  const std::vector<uint8_t> index = RawDeflate(std::vector<uint8_t>(indexText.begin(), indexText.end()));
  bytes.insert(bytes.end(), index.begin(), index.end());
  uint8_t trailer[kLongTrailerSize];
  PutInt64(trailer, indexPosition + indexPositionDelta);
  std::copy(kTrailerMark, kTrailerMark + 4, trailer + 8);
  PutInt64(trailer + 12, int64_t(bytes.size()) + kShortTrailerSize);
  bytes.insert(bytes.end(), trailer, trailer + (longTrailer ? kLongTrailerSize : kShortTrailerSize));
  return bytes;
}

}  // namespace kiv::test
