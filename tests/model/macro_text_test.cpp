// Macro expansion against values given by the test, and against the values of a slide
// whose main picture is a JPEG tagged by exiftool while the test runs.
#include "model/macro_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "base/text.h"
#include "model/slide_macro_values.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

// Values from a table, counting how often each is asked.
class TTableValues : public IMacroValues {
 public:
  explicit TTableValues(std::map<TMacro, std::u16string> values) : FValues(std::move(values)) {}
  std::u16string MacroValue(TMacro which) override {
    ++Asked[which];
    const auto found = FValues.find(which);
    return found == FValues.end() ? std::u16string() : found->second;
  }
  std::map<TMacro, int> Asked;

 private:
  std::map<TMacro, std::u16string> FValues;
};

struct TExpandCase {
  const char* Name;
  std::u16string Text;
  std::map<TMacro, std::u16string> Values;
  std::u16string Expected;
};
void PrintTo(const TExpandCase& c, std::ostream* out) { *out << c.Name; }

class MacroExpansion : public ::testing::TestWithParam<TExpandCase> {};

TEST_P(MacroExpansion, GivesTheExpectedText) {
  TTableValues values(GetParam().Values);
  EXPECT_EQ(Utf16ToUtf8(TMTParser::Expand(GetParam().Text, values)), Utf16ToUtf8(GetParam().Expected));
}

const std::u16string kTrip = u"E:\\Photos\\Trip\\img01.jpg";
const std::u16string kAllNameParts =
    u"<%MainImg.FileName%>|<%MainImg.PathName%>|<%MainImg.FileNameExt%>|<%MainImg.FolderPath%>|<%MainImg.FolderName%>";

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroExpansion,
    ::testing::Values(
        TExpandCase{"ThirdOfTen", u"Slide <%SlideIndex%> of <%SlidesCount%>",
                    {{TMacro::SlideIndex, u"3"}, {TMacro::SlidesCount, u"10"}}, u"Slide 3 of 10"},
        TExpandCase{"AnyCase", u"<%slideindex%>/<%SLIDESCOUNT%>/<%MainImg.iptc.CITY%>",
                    {{TMacro::SlideIndex, u"3"}, {TMacro::SlidesCount, u"10"}, {TMacro::IptcCity, u"Lisboa"}},
                    u"3/10/Lisboa"},
        TExpandCase{"BackslashPath", kAllNameParts, {{TMacro::PathNameExt, kTrip}},
                    u"img01|E:\\Photos\\Trip\\img01|img01.jpg|E:\\Photos\\Trip\\|Trip"},
        TExpandCase{"SlashPath", kAllNameParts, {{TMacro::PathNameExt, u"/media/Trip/img01.jpg"}},
                    u"img01|/media/Trip/img01|img01.jpg|/media/Trip/|Trip"},
        TExpandCase{"MixedSeparators", kAllNameParts, {{TMacro::PathNameExt, u"E:\\Photos/Trip\\img.01.jpeg"}},
                    u"img.01|E:\\Photos/Trip\\img.01|img.01.jpeg|E:\\Photos/Trip\\|Trip"},
        TExpandCase{"DotInFolderOnly", kAllNameParts, {{TMacro::PathNameExt, u"C:\\v1.2\\photo"}},
                    u"photo|C:\\v1.2\\photo|photo|C:\\v1.2\\|v1.2"},
        TExpandCase{"BareName", kAllNameParts, {{TMacro::PathNameExt, u"img01.jpg"}}, u"img01|img01|img01.jpg||"},
        TExpandCase{"DateAndTime", u"<%MainImg.Exif.Date%> at <%MainImg.Exif.Time%>",
                    {{TMacro::ExifDateTime, u"2010:05:01 12:30:00"}}, u"2010:05:01 at 12:30:00"},
        TExpandCase{"DateWithoutTime", u"[<%MainImg.Exif.Date%>][<%MainImg.Exif.Time%>]",
                    {{TMacro::ExifDateTime, u"2010:05:01"}}, u"[2010:05:01][]"},
        TExpandCase{"OnlyAnEmptyValue", u"<%MainImg.IPTC.City%>", {}, u" "},
        TExpandCase{"EmptyText", u"", {}, u" "},
        TExpandCase{"UnknownMacroStays", u"<%MainImg.Nothing%> <%SlideIndex", {}, u"<%MainImg.Nothing%> <%SlideIndex"},
        TExpandCase{"ValueHoldingItsOwnMacro", u"<%SlideIndex%>-<%SlideIndex%>",
                    {{TMacro::SlideIndex, u"<%SLIDEINDEX%>"}}, u"<%SLIDEINDEX%>-<%SLIDEINDEX%>"},
        TExpandCase{"ValueHoldingALaterMacro", u"<%SlideIndex%>",
                    {{TMacro::SlideIndex, u"<%SlidesCount%>"}, {TMacro::SlidesCount, u"10"}}, u"10"},
        TExpandCase{"ValueHoldingAnEarlierMacro", u"<%SlidesCount%>",
                    {{TMacro::SlideIndex, u"3"}, {TMacro::SlidesCount, u"<%SlideIndex%>"}}, u"<%SlideIndex%>"},
        TExpandCase{"PathHoldingADerivedMacro", u"<%MainImg.FileNameExt%>",
                    {{TMacro::PathNameExt, u"C:\\<%MainImg.FileNameExt%>"}}, u"<%MainImg.FileNameExt%>"}),
    [](const ::testing::TestParamInfo<TExpandCase>& info) { return std::string(info.param.Name); });

TEST(MacroExpansionValues, AreAskedOnlyWhenTheirMacroOccursAndOnce) {
  TTableValues values({{TMacro::PathNameExt, kTrip}, {TMacro::SlideIndex, u"3"}});
  TMTParser::Expand(u"<%SlideIndex%> <%slideindex%> " + kAllNameParts + u"<%MainImg.PathNameExt%>", values);
  EXPECT_EQ(values.Asked, (std::map<TMacro, int>{{TMacro::SlideIndex, 1}, {TMacro::PathNameExt, 1}}));
}

TEST(MacroExpansionValues, NestedValuesCannotGrowTheTextWithoutBound) {
  auto repeated = [](std::u16string_view part) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) text += part;
    return text;
  };
  TTableValues values({{TMacro::IptcDocumentTitle, repeated(u"<%MainImg.IPTC.City%>")},
                       {TMacro::IptcCity, repeated(u"<%MainImg.IPTC.Country%>")},
                       {TMacro::IptcCountry, repeated(u"ab")}});
  const std::u16string expanded = TMTParser::Expand(u"<%MainImg.IPTC.DocumentTitle%>", values);
  EXPECT_EQ(expanded.size(), kMaxExpandedText);
  EXPECT_EQ(expanded.substr(0, 4), u"abab");
}

TEST(SlideMacroValues, AnswerThePlaceAndLeaveAMissingPictureEmpty) {
  TSlideMacroValues values(3, 10);
  EXPECT_EQ(TMTParser::Expand(u"<%SlideIndex%> of <%SlidesCount%>", values), u"3 of 10");
  EXPECT_EQ(TMTParser::Expand(u"<%MainImg.Width%><%MainImg.FileName%><%MainImg.IPTC.City%>", values), u" ");
}

TEST(SlideMacroValues, AnswerSizeAndNameWhenTheFileCannotBeRead) {
  int reads = 0;
  TSlideMacroValues values(1, 1, TSlideMacroValues::TMainPicture{kTrip, [] { return std::pair{4000, 3000}; }, [&reads] {
                                                                    ++reads;
                                                                    return std::optional<std::vector<uint8_t>>();
                                                                  }});
  EXPECT_EQ(TMTParser::Expand(u"<%MainImg.Width%>x<%MainImg.Height%> <%MainImg.FolderName%>"
                              u"<%MainImg.Exif.Comment%><%MainImg.IPTC.City%><%MainImg.Exif.Date%>",
                              values),
            u"4000x3000 Trip");
  EXPECT_EQ(reads, 1);
}

// Each IPTC macro shows the dataset exiftool writes for the tag of the same meaning.
class SlidePictureMacros : public TempFolderTest {};

TEST_F(SlidePictureMacros, ShowTheMetadataOfTheMainPicture) {
  const struct {
    const char* Macro;
    const char* Tag;
  } fields[] = {
      {"IPTC.DocumentTitle", "ObjectName"},
      {"IPTC.SpecialInstructions", "SpecialInstructions"},
      {"IPTC.AuthorByline", "By-line"},
      {"IPTC.AuthorTitle", "By-lineTitle"},
      {"IPTC.City", "City"},
      {"IPTC.Sublocation", "Sub-location"},
      {"IPTC.ProvinceState", "Province-State"},
      {"IPTC.Country", "Country-PrimaryLocationName"},
      {"IPTC.OTR", "OriginalTransmissionReference"},
      {"IPTC.Headline", "Headline"},
      {"IPTC.Credits", "Credit"},
      {"IPTC.Source", "Source"},
      {"IPTC.Copyright", "CopyrightNotice"},
      {"IPTC.CaptionDescription", "Caption-Abstract"},
      {"IPTC.CaptionWriter", "Writer-Editor"},
  };
  const std::string file = "'" + (folder / "a.jpg").string() + "'";
  std::string command = "convert -size 64x48 xc:red " + file +
                        " && exiftool -q -overwrite_original -IPTC:CodedCharacterSet=UTF8"
                        " -DateTimeOriginal='2010:05:01 12:30:00' -UserComment='Made by the test'"
                        " -ImageDescription='Harbour at dawn'";
  std::u16string text = u"<%MainImg.Exif.Comment%>|<%MainImg.Exif.Description%>|<%MainImg.Exif.Date%>|"
                        u"<%MainImg.Exif.Time%>|<%MainImg.Width%>x<%MainImg.Height%>";
  std::u16string expected = u"Made by the test|Harbour at dawn|2010:05:01|12:30:00|64x48";
  for (const auto& field : fields) {
    command += std::string(" -IPTC:") + field.Tag + "='" + field.Tag + " ł'";
    text += Utf8ToUtf16(std::string("|<%MainImg.") + field.Macro + "%>");
    expected += Utf8ToUtf16(std::string("|") + field.Tag + " ł");
  }
  ASSERT_EQ(std::system((command + " " + file).c_str()), 0) << command;

  int reads = 0;
  TSlideMacroValues values(2, 5, TSlideMacroValues::TMainPicture{u"pics\\a.jpg", [] { return std::pair{64, 48}; }, [&] {
                                                                    ++reads;
                                                                    return std::optional(FileBytes(folder / "a.jpg"));
                                                                  }});
  EXPECT_EQ(TMTParser::Expand(u"<%SlideIndex%>", values), u"2");
  EXPECT_EQ(reads, 0);  // no metadata macro yet
  EXPECT_EQ(Utf16ToUtf8(TMTParser::Expand(text, values)), Utf16ToUtf8(expected));
  EXPECT_EQ(TMTParser::Expand(u"<%MainImg.IPTC.City%>", values), u"City ł");
  EXPECT_EQ(reads, 1);
}

}  // namespace
}  // namespace kiv
