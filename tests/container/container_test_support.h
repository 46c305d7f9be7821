#pragma once
// A hand-made container whose index text the test chooses, for the container tests.
#include <cstdint>
#include <string>
#include <vector>

#include "container/container_format.h"
#include "support/deflate.h"

namespace kiv::test {

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
