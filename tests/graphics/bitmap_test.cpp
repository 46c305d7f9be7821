// Bitmaps start zero-filled at every size: decoders that stop early (truncated files)
// rely on the rows they never wrote being black and transparent.
#include "graphics/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kiv {
namespace {

TEST(Bitmap, SmallAndLargeBitmapsStartZeroFilledWithPaddedRows) {
  for (const auto& [width, height] : {std::pair{3, 2}, std::pair{4000, 3000}}) {
    TBitmap bitmap(width, height, TPixelFormat::Bgr24);
    EXPECT_EQ(bitmap.Stride() % 4, 0);
    EXPECT_GE(bitmap.Stride(), width * 3);
    ASSERT_EQ(bitmap.Pixels().size(), size_t(bitmap.Stride()) * size_t(height));
    const uint8_t* begin = bitmap.Pixels().data();
    EXPECT_TRUE(std::all_of(begin, begin + bitmap.Pixels().size(), [](uint8_t byte) { return byte == 0; }));
    bitmap.Row(height - 1)[width * 3 - 1] = 7;  // the last pixel byte is writable
    EXPECT_EQ(bitmap.Pixels()[bitmap.Pixels().size() - bitmap.Stride() + size_t(width) * 3 - 1], 7);
  }
}

}  // namespace
}  // namespace kiv
