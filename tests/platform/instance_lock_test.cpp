// One running copy per key: the lock file in the runtime folder.
#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "support/test_folder.h"

namespace kiv {
namespace {

TEST(InstanceLock, TheSecondHolderSeesTheFirstUntilItGoes) {
  const TTestFolder runtime("kiv_runtime_");
  ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  EXPECT_EQ(TInstanceLock::LockPath("a/b c"), runtime.Path().string() + "/kivplayer-a_b_c.lock");
  {
    const TInstanceLock first("show");
    EXPECT_FALSE(first.OtherInstanceRuns());
    EXPECT_TRUE(TInstanceLock("show").OtherInstanceRuns());
    EXPECT_FALSE(TInstanceLock("other show").OtherInstanceRuns());
  }
  EXPECT_FALSE(TInstanceLock("show").OtherInstanceRuns());
  // Without a runtime folder the temporary folder serves, with the user's id in the name.
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_TRUE(TInstanceLock::LockPath("k").starts_with("/tmp/kivplayer-" + std::to_string(::getuid()) + "-k"));
}

}  // namespace
}  // namespace kiv
