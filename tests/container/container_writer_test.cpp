// Containers written by TKivPack and read back through TKivUnpack.
#include "container/kiv_pack.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "base/file_stream.h"
#include "base/guid.h"
#include "base/text.h"
#include "container/kiv_unpack.h"
#include "container_test_support.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245 + 12345;
    bytes[i] = uint8_t(seed >> 16);
  }
  return bytes;
}


std::vector<uint8_t> EntryBytes(const TKivUnpack& show, std::u16string_view name) {
  std::unique_ptr<TStream> entry = show.OpenEntry(name);
  if (!entry) return {uint8_t('?'), uint8_t('!')};  // never a real entry's bytes here
  std::vector<uint8_t> bytes(size_t(entry->GetSize()));
  entry->ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

class ContainerWriterTest : public TempFolderTest {
 protected:
  const std::vector<uint8_t> image = Noise(3000, 7);  // stands for the player's program image
  const std::u16string programName = u"C:\\Build\\kivplayer.exe";

  // Writes the program image and a container with what fill adds.
  std::string WriteShow(const std::function<void(TKivPack&)>& fill, const TKivPackFinish& finish = {u"7.1"}) {
    const std::string path = (folder / "show").string();
    TFileStream output(path, TFileMode::Create);
    output.WriteBuffer(image.data(), int64_t(image.size()));
    TKivPack pack(output, programName);
    fill(pack);
    pack.Finish(finish);
    return path;
  }
};

TEST_F(ContainerWriterTest, EveryPackModeRoundTripsByteForByte) {
  const std::vector<uint8_t> big = Noise(200000, 1);  // several 64 KiB pieces
  std::vector<uint8_t> repetitive(150000);
  for (size_t i = 0; i < repetitive.size(); ++i) repetitive[i] = uint8_t("slideshow"[i % 9]);
  const fs::path bigFile = folder / "big.bin";
  PutFileBytes(bigFile, big);

  const std::vector<TPackMode> modes = {TPackMode::Stored, TPackMode::Deflated, TPackMode::Enciphered};
  const std::string path = WriteShow([&](TKivPack& pack) {
    for (TPackMode mode : modes) {
      const std::u16string suffix = IntToText(int(mode));
      pack.AddBytes(u"empty" + suffix, {}, mode);
      pack.AddBytes(u"one" + suffix, std::vector<uint8_t>{42}, mode);
      pack.AddBytes(u"repetitive" + suffix, repetitive, mode);
      pack.AddFile(u"C:\\Show\\big" + suffix + u".bin", bigFile.string(), mode);
    }
  });

  TKivUnpack show(path);
  ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
  EXPECT_EQ(show.Shift(), 0);
  EXPECT_EQ(show.Relocation(), 0);
  for (TPackMode mode : modes) {
    SCOPED_TRACE(int(mode));
    const std::u16string suffix = IntToText(int(mode));
    EXPECT_TRUE(EntryBytes(show, u"empty" + suffix).empty());
    EXPECT_EQ(EntryBytes(show, u"one" + suffix), std::vector<uint8_t>{42});
    EXPECT_EQ(EntryBytes(show, u"repetitive" + suffix), repetitive);
    EXPECT_EQ(EntryBytes(show, u"C:\\Show\\big" + suffix + u".bin"), big);
    const auto entry = show.FindEntry(u"repetitive" + suffix);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Mode, mode);
    if (mode == TPackMode::Deflated)
      EXPECT_LT(entry->Size, 1000);
    else
      EXPECT_EQ(entry->Size, int64_t(repetitive.size()));
  }

  // Stored and enciphered entries lie in place; the cipher's key phase is the
  // position inside the entry.
  const std::vector<uint8_t> file = FileBytes(path);
  const auto stored = show.FindEntry(u"C:\\Show\\big0.bin");
  const auto enciphered = show.FindEntry(u"C:\\Show\\big2.bin");
  ASSERT_TRUE(stored && enciphered);
  EXPECT_TRUE(std::equal(big.begin(), big.end(), file.begin() + stored->Position));
  for (size_t i : {size_t(0), size_t(5), size_t(31), size_t(32), size_t(199999)})
    EXPECT_EQ(file[size_t(enciphered->Position) + i], big[i] ^ uint8_t(ContainerKey[i % 32])) << i;
}

TEST_F(ContainerWriterTest, IndexHoldsTheProgramProtectionAndIdentity) {
  const std::string path = WriteShow(
      [&](TKivPack& pack) {
        pack.AddBytes(u"Project.kiv", std::vector<uint8_t>{'[', 'm', ']'}, TPackMode::Deflated);
        EXPECT_EQ(pack.EntryCount(), 1);
      },
      {u"7.1 build 5", true, false});
  TKivUnpack show(path);
  ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());

  // The program image is the first section.
  const std::vector<std::u16string> names = show.EntryNames();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], programName);
  EXPECT_EQ(names[1], u"Project.kiv");
  EXPECT_EQ(names[2], u"ExeGUID");
  const auto program = show.FindEntry(programName);
  ASSERT_TRUE(program);
  EXPECT_EQ(program->Position, 0);
  EXPECT_EQ(program->Size, int64_t(image.size()));
  EXPECT_EQ(EntryBytes(show, programName), image);
  EXPECT_EQ(show.FindEntry(u"Project.kiv")->Position, int64_t(image.size()));

  EXPECT_EQ(show.Version(), u"7.1 build 5");
  const TIniFile& index = show.Index();
  EXPECT_EQ(index.ReadString(kProtectionSection, kAllowModifyKey, u""), u"1");
  const int64_t indexPosition = ParseInt64(index.ReadString(kProtectionSection, kStrucPosKey, u"")).value_or(-1);
  const std::vector<uint8_t> file = FileBytes(path);
  EXPECT_EQ(GetInt64(file.data() + file.size() - 20), indexPosition);
  EXPECT_EQ(index.ReadString(u"Project.kiv", kEntryPackMode, u""), u"1");
  EXPECT_FALSE(index.FindSection(programName)->FindIdent(kEntryPackMode));  // stored: no mode written

  const std::vector<uint8_t> guidBytes = EntryBytes(show, u"ExeGUID");
  ASSERT_EQ(guidBytes.size(), 4u + 2 * 38);  // a count, then UTF-16
  EXPECT_EQ(guidBytes[0], 38);
  const std::string guid = Utf16ToUtf8(ReadExeGuid(guidBytes));
  EXPECT_TRUE(
      std::regex_match(guid, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\})")))
      << guid;
  EXPECT_NE(NewGuidText(), NewGuidText());
}

TEST(ExeGuid, ReadsTheCountedFormAndBareUtf8WithinBounds) {
  const std::u16string guid = u"{6B29FC40-CA47-1067-B31D-00DD010662DA}";
  EXPECT_EQ(ReadExeGuid(ExeGuidBytes(guid)), guid);
  const std::string utf8 = Utf16ToUtf8(guid);
  EXPECT_EQ(ReadExeGuid({reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size()}), guid);
  // A count that does not match the bytes is no counted form; a long entry is cut.
  const std::vector<uint8_t> huge{0xFF, 0xFF, 0xFF, 0x7F, 'a', 0};
  EXPECT_EQ(ReadExeGuid(huge).size(), huge.size());
  EXPECT_EQ(ReadExeGuid(std::vector<uint8_t>(100000, 'x')).size(), kMaxExeGuidUnits);
  EXPECT_EQ(ReadExeGuid({}), u"");
}

TEST_F(ContainerWriterTest, LongAndShortTrailers) {
  const auto fill = [](TKivPack& pack) { pack.AddBytes(u"a", std::vector<uint8_t>{1, 2, 3}, TPackMode::Stored); };
  const std::string longPath = WriteShow(fill);
  std::vector<uint8_t> file = FileBytes(longPath);
  EXPECT_EQ(std::string(file.end() - 12, file.end() - 8), ".dne");
  EXPECT_EQ(GetInt64(file.data() + file.size() - 8), int64_t(file.size()) - 8);

  const std::string shortPath = (folder / "short").string();
  fs::rename(WriteShow(fill, {u"1", false, true}), shortPath);
  file = FileBytes(shortPath);
  EXPECT_EQ(std::string(file.end() - 4, file.end()), ".dne");
  TKivUnpack shortShow(shortPath);
  ASSERT_TRUE(shortShow.Usable());
  EXPECT_EQ(EntryBytes(shortShow, u"a"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(ContainerWriterTest, MovedBlockReadsOnlyWhenModifyingIsAllowed) {
  for (bool allow : {false, true}) {
    SCOPED_TRACE(allow);
    const std::vector<uint8_t> data = Noise(70000, 3);
    const std::string path =
        WriteShow([&](TKivPack& pack) { pack.AddBytes(u"d", data, TPackMode::Enciphered); }, {u"1", allow, false});
    std::vector<uint8_t> file = FileBytes(path);
    file.insert(file.begin() + 10, 100, uint8_t(0));  // the program image grew
    PutFileBytes(path, file);
    TKivUnpack show(path);
    EXPECT_EQ(show.Shift(), 100);
    if (!allow) {
      EXPECT_FALSE(show.Usable());
      EXPECT_EQ(show.Error(), u"Slide-show File Modified");
    } else {
      ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
      EXPECT_EQ(show.Relocation(), 100);
      EXPECT_EQ(EntryBytes(show, u"d"), data);
    }
  }
}

TEST_F(ContainerWriterTest, NamesWithBracketsAndAliases) {
  const std::string path = WriteShow([](TKivPack& pack) {
    pack.AddBytes(u"C:\\Shows\\[2019] Trip\\pic[1].jpg", std::vector<uint8_t>{9, 8}, TPackMode::Deflated);
    pack.AddAlias(u"pics/PIC[1].JPG", u"C:\\Shows\\[2019] Trip\\pic[1].jpg");
    EXPECT_TRUE(pack.HasEntry(u"c:\\shows\\<2019> trip\\PIC[1].jpg"));
    EXPECT_EQ(pack.EntryCount(), 1);
  });
  TKivUnpack show(path);
  ASSERT_TRUE(show.Usable());
  EXPECT_TRUE(show.Index().SectionExists(u"C:\\Shows\\<2019> Trip\\pic<1>.jpg"));
  EXPECT_EQ(show.EntryNames()[1], u"C:\\Shows\\[2019] Trip\\pic[1].jpg");
  EXPECT_EQ(EntryBytes(show, u"C:\\Shows\\[2019] Trip\\pic[1].jpg"), (std::vector<uint8_t>{9, 8}));
  EXPECT_EQ(EntryBytes(show, u"pics/PIC[1].JPG"), (std::vector<uint8_t>{9, 8}));
  EXPECT_EQ(show.FindEntry(u"pics/PIC[1].JPG")->Position,
            show.FindEntry(u"C:\\Shows\\[2019] Trip\\pic[1].jpg")->Position);
}

TEST_F(ContainerWriterTest, BadNamesAreRefused) {
  WriteShow([](TKivPack& pack) {
    pack.AddBytes(u"Photo.jpg", std::vector<uint8_t>{1}, TPackMode::Stored);
    for (const std::u16string& name : {std::u16string(u"PHOTO.JPG"), std::u16string(u""), std::u16string(u"a\nb"),
                                       std::u16string(u"ExeGUID"), std::u16string(u"$Protection$")}) {
      EXPECT_THROW(pack.AddBytes(name, std::vector<uint8_t>{1}, TPackMode::Stored), EKivError) << Utf16ToUtf8(name);
    }
    EXPECT_THROW(pack.AddAlias(u"other", u"missing"), EKivError);
    EXPECT_THROW(pack.AddFile(u"gone", "/nonexistent/kiv/file", TPackMode::Stored), EFOpenError);
    EXPECT_EQ(pack.EntryCount(), 1);
  });
}

TEST_F(ContainerWriterTest, DataFileHasNoProgramSection) {
  const std::string path = (folder / "show.KvShow").string();
  {
    TFileStream output(path, TFileMode::Create);
    TKivPack pack(output);
    pack.AddBytes(u"Project.kiv", std::vector<uint8_t>{'x'}, TPackMode::Deflated);
    pack.Finish({u"2"});
  }
  TKivUnpack show(path);
  ASSERT_TRUE(show.Usable()) << Utf16ToUtf8(show.Error());
  EXPECT_EQ(show.EntryNames(), (std::vector<std::u16string>{u"Project.kiv", u"ExeGUID"}));
  EXPECT_EQ(show.FindEntry(u"Project.kiv")->Position, 0);
  EXPECT_EQ(EntryBytes(show, u"Project.kiv"), std::vector<uint8_t>{'x'});
}

}  // namespace
}  // namespace kiv
