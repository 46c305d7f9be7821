// Metadata read from JPEG files that ImageMagick makes and exiftool tags while the test
// runs, in the character sets exiftool chooses or is told to use.
#include "graphics/picture_metadata.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

enum : int { kByline = 80, kCity = 90, kHeadline = 105 };

class PictureMetadataTest : public TempFolderTest {
 protected:
  // A red 64 × 48 JPEG, tagged by exiftool with the given arguments when there are any.
  std::vector<uint8_t> TaggedJpeg(const std::string& exiftoolArguments) {
    const std::string file = "'" + (folder / "a.jpg").string() + "'";
    std::string command = "convert -size 64x48 xc:red " + file;
    if (!exiftoolArguments.empty())
      command += " && exiftool -q -overwrite_original " + exiftoolArguments + " " + file;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return FileBytes(folder / "a.jpg");
  }
};

TEST_F(PictureMetadataTest, ReadsExifAndIptcOfATaggedJpeg) {
  const std::vector<uint8_t> bytes = TaggedJpeg(
      "-DateTimeOriginal='2010:05:01 12:30:00' -EXIF:ModifyDate='2011:02:03 04:05:06' "
      "-ImageDescription='Harbour at dawn' -UserComment='Made by the test' -IPTC:City=Lisboa "
      "-IPTC:By-line=Ana -IPTC:By-line=Rui -IPTC:Headline=Sunrise -IPTC:CodedCharacterSet=UTF8");
  const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(bytes);
  ASSERT_TRUE(metadata);
  EXPECT_EQ(metadata->ExifDateTime, u"2010:05:01 12:30:00");  // the capture, not the change
  EXPECT_EQ(metadata->ExifDescription, u"Harbour at dawn");
  EXPECT_EQ(metadata->ExifComment, u"Made by the test");
  EXPECT_EQ(metadata->FirstIptc(kCity), u"Lisboa");
  EXPECT_EQ(metadata->FirstIptc(kHeadline), u"Sunrise");
  EXPECT_EQ(metadata->Iptc.at(kByline), (std::vector<std::u16string>{u"Ana", u"Rui"}));
  EXPECT_EQ(metadata->FirstIptc(5), u"");
}

TEST_F(PictureMetadataTest, DateTimeFallsBackToTheLastChange) {
  const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(TaggedJpeg("-EXIF:ModifyDate='2011:02:03 04:05:06'"));
  ASSERT_TRUE(metadata);
  EXPECT_EQ(metadata->ExifDateTime, u"2011:02:03 04:05:06");
}

TEST_F(PictureMetadataTest, AJpegWithoutMetadataHasEmptyFields) {
  const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(TaggedJpeg(""));
  ASSERT_TRUE(metadata);
  EXPECT_EQ(metadata->ExifComment + metadata->ExifDescription + metadata->ExifDateTime, u"");
  EXPECT_TRUE(metadata->Iptc.empty());
}

// Each text in the character set its block declares, or the one it turns out to be.
struct TCharsetCase {
  const char* Name;
  const char* Arguments;
  std::u16string TPictureMetadata::*Field;  // null: the IPTC city
  std::u16string Expected;
};
void PrintTo(const TCharsetCase& c, std::ostream* out) { *out << c.Name; }

class MetadataCharsets : public PictureMetadataTest, public ::testing::WithParamInterface<TCharsetCase> {};

TEST_P(MetadataCharsets, GiveTheWrittenText) {
  const TCharsetCase& c = GetParam();
  const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(TaggedJpeg(c.Arguments));
  ASSERT_TRUE(metadata);
  EXPECT_EQ(c.Field ? (*metadata).*c.Field : metadata->FirstIptc(kCity), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MetadataCharsets,
    ::testing::Values(
        TCharsetCase{"IptcDeclaredUtf8", "-IPTC:CodedCharacterSet=UTF8 -IPTC:City='Kraków'", nullptr, u"Kraków"},
        TCharsetCase{"IptcUndeclaredLatin1", "-IPTC:City='Kraków'", nullptr, u"Kraków"},
        TCharsetCase{"IptcUndeclaredUtf8", "-charset iptc=utf8 -IPTC:City='Kraków'", nullptr, u"Kraków"},
        TCharsetCase{"DescriptionUtf8", "-charset exif=utf8 -ImageDescription='Żółw'", &TPictureMetadata::ExifDescription,
                     u"Żółw"},
        TCharsetCase{"DescriptionLatin1", "-charset exif=latin -ImageDescription='Café'",
                     &TPictureMetadata::ExifDescription, u"Café"},
        TCharsetCase{"CommentUnicodeBigEndian", "-UserComment='Żółw'", &TPictureMetadata::ExifComment, u"Żółw"},
        TCharsetCase{"CommentUnicodeLittleEndian", "-ExifByteOrder=II -UserComment='Żółw'",
                     &TPictureMetadata::ExifComment, u"Żółw"},
        // Cameras pad an unused comment with blanks.
        TCharsetCase{"CommentPaddedWithBlanks", "-UserComment='Padded    '", &TPictureMetadata::ExifComment,
                     u"Padded"}),
    [](const ::testing::TestParamInfo<TCharsetCase>& info) { return std::string(info.param.Name); });

TEST_F(PictureMetadataTest, DamagedOrOtherPicturesGiveNoMetadata) {
  const std::vector<uint8_t> jpeg = TaggedJpeg("-UserComment='Made by the test' -IPTC:City=Lisboa");
  std::vector<uint8_t> noise(4096);
  std::mt19937 random(7);
  for (uint8_t& byte : noise) byte = uint8_t(random());
  ASSERT_EQ(std::system(("convert -size 8x8 xc:blue '" + (folder / "b.png").string() + "'").c_str()), 0);
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
  } cases[] = {
      {"empty", {}},
      {"noise", noise},
      {"png", FileBytes(folder / "b.png")},
      {"start of image only", {0xFF, 0xD8}},
      {"cut inside the exif segment", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 40)},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReadPictureMetadata(c.Bytes)) << c.Name;
}

TEST_F(PictureMetadataTest, DamagedSegmentsNeverCrash) {
  const std::vector<uint8_t> jpeg = TaggedJpeg(
      "-DateTimeOriginal='2010:05:01 12:30:00' -UserComment='Made by the test' -IPTC:City=Lisboa");
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> damaged(jpeg.begin(), jpeg.begin() + random() % jpeg.size());
    for (int flips = 0; flips < 4 && !damaged.empty(); ++flips) damaged[random() % damaged.size()] = uint8_t(random());
    ReadPictureMetadata(damaged);
  }
}

TEST_F(PictureMetadataTest, ThreadsReadAtOnce) {
  const std::vector<uint8_t> jpeg = TaggedJpeg("-XMP:Title=Sea -UserComment='Made by the test' -IPTC:City=Lisboa");
  std::vector<std::thread> threads;
  std::vector<int> matches(4, 0);
  for (int& count : matches)
    threads.emplace_back([&jpeg, &count] {
      for (int i = 0; i < 25; ++i) {
        const std::optional<TPictureMetadata> metadata = ReadPictureMetadata(jpeg);
        count += metadata && metadata->FirstIptc(kCity) == u"Lisboa";
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(matches, std::vector<int>(4, 25));
}

}  // namespace
}  // namespace kiv
