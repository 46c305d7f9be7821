#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/text.h"
#include "container/loose_files.h"

namespace kiv {
namespace {

TEST(LooseFiles, FoundAsWrittenOrIgnoringCaseWithEitherSeparator) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "kiv_loose_files_test";
  fs::remove_all(root);
  fs::create_directories(root / "Pictures" / "Summer");
  std::ofstream(root / "Pictures" / "Summer" / "Beach.JPG") << "x";
  std::ofstream(root / "Pictures" / "Summer" / "beach.jpg") << "y";
  const std::u16string base = Utf8ToUtf16(root.string());

  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Summer/Beach.JPG"), (root / "Pictures/Summer/Beach.JPG").string());
  // The exact spelling wins over a case-insensitive match.
  EXPECT_EQ(FindLooseFile(base + u"\\Pictures\\Summer\\beach.jpg"), (root / "Pictures/Summer/beach.jpg").string());
  std::string matched = FindLooseFile(base + u"\\PICTURES\\summer\\BEACH.jpg");
  EXPECT_TRUE(matched == (root / "Pictures/Summer/Beach.JPG").string() ||
              matched == (root / "Pictures/Summer/beach.jpg").string())
      << matched;
  EXPECT_EQ(FindLooseFile(base + u"/pictures/../Pictures/summer/beach.JPG").empty(), false);
  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Summer"), "");  // folders are not files
  EXPECT_EQ(FindLooseFile(base + u"/Pictures/Winter/Beach.JPG"), "");
  EXPECT_EQ(FindLooseFile(u""), "");
  fs::remove_all(root);
}

}  // namespace
}  // namespace kiv
