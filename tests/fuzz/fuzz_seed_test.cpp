// Every seed of every fuzz target runs through the target's entry function, each in a
// process of its own, and must come back with 0: a seed that trips one of the target's
// checks (an abort) or crashes the code under test fails here, in every test run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fuzz_targets.h"
#include "support/bytes.h"

namespace kiv {

// Test names and messages show a target by its name.
void PrintTo(const TFuzzTarget& target, std::ostream* out) { *out << target.Name; }

namespace {

namespace fs = std::filesystem;

const fs::path kSeeds = fs::path(KIV_FUZZ_DIR) / "seeds";

// The seed files of a target, in name order; none when its folder is missing.
std::vector<fs::path> SeedsOf(const std::string& target) {
  std::vector<fs::path> seeds;
  std::error_code missing;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSeeds / target, missing))
    if (entry.is_regular_file()) seeds.push_back(entry.path());
  std::sort(seeds.begin(), seeds.end());
  return seeds;
}

class FuzzSeeds : public ::testing::TestWithParam<TFuzzTarget> {};

TEST_P(FuzzSeeds, EachRunsThroughTheTarget) {
  const TFuzzTarget& target = GetParam();
  const std::vector<fs::path> seeds = SeedsOf(target.Name);
  ASSERT_FALSE(seeds.empty()) << "no seeds in " << (kSeeds / target.Name);
  for (const fs::path& seed : seeds) {
    const std::vector<uint8_t> bytes = FileBytes(seed);
    EXPECT_EXIT(std::_Exit(target.Entry(bytes.data(), bytes.size())), ::testing::ExitedWithCode(0), "")
        << seed.filename();
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzSeeds, ::testing::ValuesIn(FuzzTargets().begin(), FuzzTargets().end()),
                         [](const ::testing::TestParamInfo<TFuzzTarget>& info) { return std::string(info.param.Name); });

// Seeds kept for a target that is gone or renamed would no longer be run by anything.
TEST(FuzzSeedFolders, EachBelongsToATarget) {
  std::set<std::string> targets;
  for (const TFuzzTarget& target : FuzzTargets()) targets.insert(target.Name);
  for (const fs::directory_entry& folder : fs::directory_iterator(kSeeds))
    EXPECT_TRUE(targets.count(folder.path().filename().string())) << folder.path() << " has no target in fuzz/";
}

}  // namespace
}  // namespace kiv
