#include "model/viewport_keys.h"

#include <gtest/gtest.h>

#include "model/kind_keys_test_support.h"

namespace kiv {
namespace {

TEST(ViewPortKeys, SizeKeepsTheCurrentOneUnlessGiven) {
  const TParsedObject sized = ParseObject("viewport", "Size=640,360\n");
  EXPECT_EQ(ReadViewPortKeys(*sized.Object, {{10, 20}}).Size, (TIniPoint{640, 360}));
  const TParsedObject bare = ParseObject("viewport");
  EXPECT_EQ(ReadViewPortKeys(*bare.Object, {{10, 20}}).Size, (TIniPoint{10, 20}));
  const TParsedObject broken = ParseObject("viewport", "Size=640\n");
  EXPECT_EQ(ReadViewPortKeys(*broken.Object, {}).Size, (TIniPoint{0, 0}));
}

}  // namespace
}  // namespace kiv
