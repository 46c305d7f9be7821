// Reading show containers: trailer forms, moved blocks, the protection record, and
// damaged files that must fail cleanly.
#include "container/kiv_unpack.h"

#include <random>

#include "base/picture_budget.h"
#include "base/text.h"
#include "container_test_support.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

using test::HandMadeContainer;

const std::vector<uint8_t> kProgram(500, 0x90);

// An index with one stored entry "a[1].txt" holding "hello" at position 10 of the program.
std::string IndexText(const std::string& protection) {
  return "\xEF\xBB\xBF[C:\\Build\\kivplayer.exe]\r\n_ps=0\r\n_sz=500\r\n[a<1>.txt]\r\n_ps=10\r\n_sz=5\r\n"
         "[$protection$]\r\nkivversion=5.6.2\r\n" +
         protection;
}

std::vector<uint8_t> ProgramWithHello() {
  std::vector<uint8_t> program = kProgram;
  std::copy_n("hello", 5, program.begin() + 10);
  return program;
}

class KivUnpackTest : public TempFolderTest {
 protected:
  std::string Write(const std::vector<uint8_t>& bytes, const char* name = "show") {
    PutFileBytes(folder / name, bytes);
    return (folder / name).string();
  }
  // The same file with `count` bytes inserted before the appended block.
  std::string Moved(const std::vector<uint8_t>& bytes, size_t count) {
    std::vector<uint8_t> moved = bytes;
    moved.insert(moved.begin() + 500, count, 0xCC);
    return Write(moved, "moved");
  }
};

TEST_F(KivUnpackTest, BothTrailerFormsFindTheIndexAndBracketedNames) {
  for (bool longTrailer : {false, true}) {
    TKivUnpack show(Write(HandMadeContainer(ProgramWithHello(), IndexText("strucpos={P}\r\n"), longTrailer)));
    ASSERT_TRUE(show.Usable()) << longTrailer;
    EXPECT_EQ(show.Shift(), 0);
    EXPECT_EQ(show.Version(), u"5.6.2");
    auto entry = show.OpenEntry(u"a[1].txt");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ReadAll(*entry), "hello");
    EXPECT_EQ(show.EntryNames(), (std::vector<std::u16string>{u"C:\\Build\\kivplayer.exe", u"a[1].txt"}));
    EXPECT_EQ(show.OpenEntry(u"missing.txt"), nullptr);
  }
}

TEST_F(KivUnpackTest, FolderSeparatorsOfEitherKindFindTheEntry) {
  const std::string index = "[Skins\\Aqua\\btn.ini]\r\n_ps=10\r\n_sz=5\r\n[pics/sun.png]\r\n_ps=10\r\n_sz=5\r\n";
  TKivUnpack show(Write(HandMadeContainer(ProgramWithHello(), index, false)));
  ASSERT_TRUE(show.Usable());
  for (std::u16string_view name : {u"skins/aqua/BTN.ini", u"Skins\\Aqua\\btn.ini", u"pics\\sun.png", u"pics/sun.png"})
    EXPECT_TRUE(show.FindEntry(name)) << Utf16ToUtf8(name);
  EXPECT_FALSE(show.FindEntry(u"skins/aqua"));
}

TEST_F(KivUnpackTest, AMovedBlockIsFoundThroughTheLongTrailer) {
  // Inserting bytes before the entries: the program's own bytes stay where they are,
  // so the entry sits inside the inserted program part.
  auto bytes = HandMadeContainer(kProgram, IndexText("strucpos={P}\r\nallowmodify=1\r\n"), true);
  TKivUnpack allowed(Moved(bytes, 100));
  ASSERT_TRUE(allowed.Usable());
  EXPECT_EQ(allowed.Shift(), 100);
  EXPECT_EQ(allowed.Relocation(), 100);
  EXPECT_EQ(allowed.FindEntry(u"a[1].txt")->Position, 110);

  TKivUnpack refused(Moved(HandMadeContainer(kProgram, IndexText("strucpos={P}\r\n"), true), 100));
  EXPECT_FALSE(refused.Usable());
  EXPECT_EQ(refused.Error(), u"Slide-show File Modified");

  // Without a recorded position nothing is checked or relocated.
  TKivUnpack unchecked(Moved(HandMadeContainer(kProgram, IndexText(""), true), 100));
  ASSERT_TRUE(unchecked.Usable());
  EXPECT_EQ(unchecked.Relocation(), 0);

  // The short form cannot tell that the block moved: the index is not where it says.
  TKivUnpack lost(Moved(HandMadeContainer(kProgram, IndexText("strucpos={P}\r\n"), false), 100));
  EXPECT_FALSE(lost.Usable());
  EXPECT_EQ(lost.Error(), u"Slide-show File Damaged");
}

TEST_F(KivUnpackTest, ARecordedPositionThatCannotBeTrustedIsDamage) {
  for (const char* protection : {"strucpos=12x\r\nallowmodify=1\r\n", "strucpos=99999\r\nallowmodify=1\r\n"}) {
    TKivUnpack show(Write(HandMadeContainer(kProgram, IndexText(protection), true)));
    EXPECT_FALSE(show.Usable()) << protection;
    EXPECT_EQ(show.Error(), u"Slide-show File Damaged") << protection;
  }
}

TEST_F(KivUnpackTest, MissingFilesAndPlainFilesAreNoContainers) {
  TKivUnpack missing((folder / "nothing").string());
  EXPECT_FALSE(missing.Usable());
  EXPECT_EQ(missing.Error(), u"Slideshow File not Found");

  for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{'.', 'd', 'n', 'e'},
                                            kProgram}) {
    TKivUnpack plain(Write(bytes));
    EXPECT_FALSE(plain.Usable());
    EXPECT_EQ(plain.Error(), u"") << bytes.size();
  }
  EXPECT_EQ(TKivUnpack(Write(kProgram)).OpenEntry(u"a[1].txt"), nullptr);
}

TEST_F(KivUnpackTest, EntriesOutsideTheFileAreNotOpened) {
  std::string index =
      "[huge]\r\n_ps=10\r\n_sz=9223372036854775807\r\n[negative]\r\n_ps=-5\r\n_sz=5\r\n"
      "[past]\r\n_ps=499\r\n_sz=100000\r\n[nosize]\r\n_ps=1\r\n[bad]\r\n_ps=1\r\n_sz=x\r\n";
  TKivUnpack show(Write(HandMadeContainer(kProgram, index, true)));
  ASSERT_TRUE(show.Usable());
  for (const char16_t* name : {u"huge", u"negative", u"past", u"nosize", u"bad"}) {
    EXPECT_FALSE(show.FindEntry(name)) << Utf16ToUtf8(name);
    EXPECT_EQ(show.OpenEntry(name), nullptr);
  }
}

TEST_F(KivUnpackTest, CutAndCorruptedContainersFailWithoutCrashing) {
  const auto good = HandMadeContainer(ProgramWithHello(), IndexText("strucpos={P}\r\n"), true);
  // Every cut of the tail, where the trailer and the index live.
  for (size_t cut = 1; cut < 120; ++cut) {
    TKivUnpack show(Write(std::vector<uint8_t>(good.begin(), good.end() - cut)));
    if (show.Usable()) show.OpenEntry(u"a[1].txt");
  }
  // Random damage anywhere after the program.
  std::mt19937 random(42);
  for (int round = 0; round < 300; ++round) {
    auto bytes = good;
    for (int flips = 1 + int(random() % 4); flips > 0; --flips)
      bytes[500 + random() % (bytes.size() - 500)] = uint8_t(random());
    TKivUnpack show(Write(bytes));
    if (!show.Usable()) continue;
    for (const std::u16string& name : show.EntryNames())
      if (auto entry = show.OpenEntry(name)) ReadAll(*entry);
  }
}

TEST_F(KivUnpackTest, PositionsThatOverflowAreDamage) {
  // A recorded end far below the real one makes the shift huge; adding it to the index
  // position must not overflow into a valid-looking place.
  for (int64_t recordedEnd : {INT64_MIN, int64_t(-1), INT64_MAX}) {
    std::vector<uint8_t> bytes = kProgram;
    uint8_t trailer[kLongTrailerSize];
    PutInt64(trailer, INT64_MAX);
    std::copy(kTrailerMark, kTrailerMark + 4, trailer + 8);
    PutInt64(trailer + 12, recordedEnd);
    bytes.insert(bytes.end(), trailer, trailer + kLongTrailerSize);
    TKivUnpack show(Write(bytes));
    EXPECT_FALSE(show.Usable());
    EXPECT_EQ(show.Error(), u"Slide-show File Damaged");
  }
  TKivUnpack relocated(Write(HandMadeContainer(
      kProgram, IndexText("strucpos=-9223372036854775807\r\nallowmodify=1\r\n[far]\r\n_ps=9223372036854775807\r\n_sz=1\r\n"),
      true)));
  EXPECT_FALSE(relocated.Usable());
}

TEST_F(KivUnpackTest, AnIndexThatInflatesWithoutEndIsRefused) {
  // 300 MB of one repeated line packs small but must not be inflated into memory.
  std::vector<uint8_t> bytes = kProgram;
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> line(1 << 20, ';'), out(1 << 20);
  for (int mb = 0; mb < 300; ++mb) {
    z.next_in = line.data();
    z.avail_in = uInt(line.size());
    do {
      z.next_out = out.data();
      z.avail_out = uInt(out.size());
      deflate(&z, mb == 299 ? Z_FINISH : Z_NO_FLUSH);
      bytes.insert(bytes.end(), out.data(), out.data() + (out.size() - z.avail_out));
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  uint8_t trailer[kShortTrailerSize];
  PutInt64(trailer, int64_t(kProgram.size()));
  std::copy(kTrailerMark, kTrailerMark + 4, trailer + 8);
  bytes.insert(bytes.end(), trailer, trailer + kShortTrailerSize);
  TKivUnpack show(Write(bytes));
  EXPECT_FALSE(show.Usable());
  EXPECT_EQ(show.Error(), u"Slide-show File Damaged");
}

TEST_F(KivUnpackTest, DeflatedEntriesInflateNoFurtherThanTheirKindAllows) {
  // 3 MiB of zeros under names of each kind, with a picture memory budget of 1 MiB.
  std::vector<uint8_t> program = kProgram;
  const std::vector<uint8_t> packed = RawDeflate(std::vector<uint8_t>(3 << 20, 0));
  program.insert(program.end(), packed.begin(), packed.end());
  std::string index = "\xEF\xBB\xBF";
  for (const char* name : {"big.bmp", "big.wav", "big.ini"})
    index += std::string("[") + name + "]\r\n_ps=500\r\n_sz=" + std::to_string(packed.size()) + "\r\n_pm=1\r\n";
  SetPictureMemoryBudget(int64_t(1) << 20);
  TKivUnpack show(Write(HandMadeContainer(program, index, false)));
  ASSERT_TRUE(show.Usable());
  EXPECT_EQ(show.OpenEntry(u"big.bmp"), nullptr);
  EXPECT_EQ(show.OpenEntry(u"big.wav"), nullptr);
  const std::unique_ptr<TStream> text = show.OpenEntry(u"big.ini");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetSize(), 3 << 20);
  SetPictureMemoryBudget(std::nullopt);
  EXPECT_NE(show.OpenEntry(u"big.bmp"), nullptr);
}

}  // namespace
}  // namespace kiv
