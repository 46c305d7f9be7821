// kivshow render --snapshot gives the picture the player prints: the slides at the show's
// own size, whatever the size of the window they are drawn in.
#include <gtest/gtest.h>

#include "support/bytes.h"
#include "support/pixels.h"
#include "support/test_folder.h"
#include "tools/show_frames.h"

namespace kiv {
namespace {

class SnapshotRenderTest : public TempFolderTest {
 protected:
  SnapshotRenderTest() : TempFolderTest("kiv_snapshot_") {}
};

TEST_F(SnapshotRenderTest, TheSnapshotIsTheFrameAtTheShowsOwnSize) {
  // Red with a green left half, 320 x 180; the frame drawn at that size.
  const std::string project = testing::ColourShow(320, 180, 4000, {{0xFF0000, 0x00FF00, "", ""}});
  ASSERT_EQ(testing::PackAndRender(folder, project, "320x180", "1000"), "");
  // The snapshot of a window twice as large.
  ASSERT_EQ(testing::RunKivShowBinary(folder, "render show.KvShow -o snap --size 640x360 --at 1000 --snapshot",
                                      folder / "snap.txt"),
            0)
      << ReadAll(folder / "snap.txt");
  const auto frame = testing::LoadFrame(folder / "render" / testing::FrameName(1000));
  const auto snapshot = testing::LoadFrame(folder / "snap" / testing::FrameName(1000));
  ASSERT_TRUE(frame && snapshot);
  ASSERT_EQ(snapshot->Width(), 320);
  ASSERT_EQ(snapshot->Height(), 180);
  // Only the edge between the halves may differ a little.
  EXPECT_LE(testing::DifferentPixels(*frame, *snapshot, 24), 180 * 2);
  EXPECT_TRUE(ColoursNear(PixelAt(*snapshot, 40, 160), 0x00FF00, 8));
}

}  // namespace
}  // namespace kiv
