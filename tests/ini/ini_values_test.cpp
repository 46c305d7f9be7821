#include <gtest/gtest.h>

#include <array>

#include "ini/ini_values.h"
#include "ini_test_support.h"

namespace kiv {
namespace {

int32_t Int(std::u16string_view text, int32_t def = -999) {
  int32_t value = def;
  return ParseIniInteger(text, value) ? value : def;
}

double Float(std::u16string_view text, double def = -999) {
  double value = def;
  return ParseIniFloat(text, value) ? value : def;
}

TEST(IniValueRules, IntegersInDecimalAndHexadecimal) {
  EXPECT_EQ(Int(u"10"), 10);
  EXPECT_EQ(Int(u" 0x1F"), 31);
  EXPECT_EQ(Int(u"$1f"), 31);
  EXPECT_EQ(Int(u"x1F"), 31);
  EXPECT_EQ(Int(u"0X1f"), 31);
  EXPECT_EQ(Int(u"-5"), -5);
  EXPECT_EQ(Int(u"+7"), 7);
  EXPECT_EQ(Int(u"-$10"), -16);
  EXPECT_EQ(Int(u"$FFFFFFFF"), -1);
  EXPECT_EQ(Int(u"2147483647"), 2147483647);
  EXPECT_EQ(Int(u"-2147483648"), INT32_MIN);
  for (auto bad : {u"10px", u"", u" ", u"0x", u"$", u"-", u"1 ", u"\t1", u"2147483648", u"$100000000", u"1.0",
                   u"+-1", u"0xG"})
    EXPECT_EQ(Int(bad), -999) << Utf16ToUtf8(bad);
}

TEST(IniValueRules, FloatsAlwaysUseADecimalPoint) {
  EXPECT_EQ(Float(u"1.5"), 1.5);
  EXPECT_EQ(Float(u"-2e3"), -2000);
  EXPECT_EQ(Float(u"  +.25E+1"), 2.5);
  EXPECT_EQ(Float(u"3."), 3);
  EXPECT_EQ(Float(u"7"), 7);
  for (auto bad : {u"1,5", u"", u".", u"e3", u"1e", u"1e+", u"1.5 ", u"0x10", u"1e999", u"inf", u"nan", u"--1"})
    EXPECT_EQ(Float(bad), -999) << Utf16ToUtf8(bad);
}

TEST(IniValueRules, BooleansAreDecimalIntegersAndListsSplitAtCommas) {
  auto boolOf = [](std::u16string_view text) {
    bool value = false;
    return ParseIniBool(text, value) ? int(value) : -1;
  };
  EXPECT_EQ(boolOf(u"1"), 1);
  EXPECT_EQ(boolOf(u"0"), 0);
  EXPECT_EQ(boolOf(u"-0"), 0);
  EXPECT_EQ(boolOf(u"-7"), 1);
  EXPECT_EQ(boolOf(u"00"), 0);
  EXPECT_EQ(boolOf(u"1\r\x1F"), 1);  // trailing control characters are allowed
  for (auto bad : {u"True", u"", u"-", u"+1", u" 1", u"1 ", u"0x1"}) EXPECT_EQ(boolOf(bad), -1) << Utf16ToUtf8(bad);

  using Items = std::vector<std::u16string_view>;
  EXPECT_EQ(SplitIniList(u""), (Items{u""}));
  EXPECT_EQ(SplitIniList(u"1, 2,3"), (Items{u"1", u"2", u"3"}));
  EXPECT_EQ(SplitIniList(u"a ,\t b,"), (Items{u"a ", u"b", u""}));
  EXPECT_EQ(SplitIniList(u"  "), (Items{u""}));
}

TEST(IniTypedGetters, ReadScalarsWithTheirDefaults) {
  auto file = LoadIni(
      u"[S]\nint=10\nhex= 0x1F\npx=10px\nf=1.5\nf2=-2e3\ncomma=1,5\n"
      u"t=1\nz=0\nword=True\nempty=\nnegzero=-0\nhexbool=0x1\nkind=Slow\n");
  const TIniSection& s = *file->FindSection(u"S");
  EXPECT_EQ(s.ReadInteger(u"int", 0), 10);
  EXPECT_EQ(s.ReadInteger(u"HEX", 0), 31);
  EXPECT_EQ(s.ReadInteger(u"px", 5), 5);
  EXPECT_EQ(s.ReadInteger(u"missing", 5), 5);
  EXPECT_EQ(s.ReadFloat(u"f", 0), 1.5);
  EXPECT_EQ(s.ReadFloat(u"f2", 0), -2000);
  EXPECT_EQ(s.ReadFloat(u"comma", 9), 9);
  EXPECT_TRUE(s.ReadBool(u"t", false));
  EXPECT_FALSE(s.ReadBool(u"z", true));
  EXPECT_TRUE(s.ReadBool(u"word", true));
  EXPECT_FALSE(s.ReadBool(u"word", false));
  EXPECT_TRUE(s.ReadBool(u"empty", true));
  EXPECT_FALSE(s.ReadBool(u"negzero", true));
  EXPECT_FALSE(s.ReadBool(u"hexbool", false));
  EXPECT_EQ(s.ReadString(u"empty", u"def"), u"");
  EXPECT_EQ(s.ReadString(u"missing", u"def"), u"def");

  // Through the document the integer rule decides truth, and absent sections give defaults.
  EXPECT_TRUE(file->ReadBool(u"S", u"hexbool", false));
  EXPECT_TRUE(file->ReadBool(u"S", u"word", true));
  EXPECT_TRUE(file->ReadBool(u"Nowhere", u"t", true));
  EXPECT_EQ(file->ReadInteger(u"Nowhere", u"int", 4), 4);
  EXPECT_EQ(file->ReadFloat(u"s", u"f", 0), 1.5);

  static constexpr std::array<std::u16string_view, 3> kSpeeds = {u"fast", u"slow", u"Slow"};
  EXPECT_EQ(s.ReadEnum(u"kind", kSpeeds, -1), 1);
  EXPECT_EQ(s.ReadEnumExact(u"kind", kSpeeds, -1), 2);
  EXPECT_EQ(s.ReadEnum(u"int", kSpeeds, -1), -1);
  EXPECT_EQ(s.ReadEnum(u"missing", kSpeeds, 7), 7);
}

TEST(IniTypedGetters, ListsCountEverythingButStoreOnlyTheirCapacity) {
  auto file = LoadIni(
      u"[S]\nnums=1, 2,3\nbad=1,x,3\nspaced=1 ,2\nempty=\nlate=1,2,x\nwords=a, b ,c,d\nfl=1.5,-2e1\n"
      u"col=300,-5,128\nshort=1,2\nlong=1,2,3,4\nrgba=1,2,3,400\npt=3, -4\nptf=1.5,2\n");
  const TIniSection& s = *file->FindSection(u"S");
  std::array<int32_t, 3> n{-1, -1, -1};
  EXPECT_EQ(s.ReadIntegers(u"nums", n), 3);
  EXPECT_EQ(n, (std::array<int32_t, 3>{1, 2, 3}));
  std::array<int32_t, 2> two{-1, -1};
  std::array<int32_t, 3> guard{-1, -1, -1};
  EXPECT_EQ(s.ReadIntegers(u"nums", std::span(guard).first(2)), 3);  // the third is not stored
  EXPECT_EQ(guard, (std::array<int32_t, 3>{1, 2, -1}));
  EXPECT_EQ(s.ReadIntegers(u"bad", n), ~1);
  EXPECT_EQ(s.ReadIntegers(u"spaced", n), ~0);
  EXPECT_EQ(s.ReadIntegers(u"empty", n), ~0);
  EXPECT_EQ(s.ReadIntegers(u"late", two), ~2);  // bad items beyond the capacity still count
  EXPECT_EQ(s.ReadIntegers(u"missing", n), 0);

  std::array<std::u16string, 3> words;
  EXPECT_EQ(s.ReadStrings(u"words", words), 4);
  EXPECT_EQ(words, (std::array<std::u16string, 3>{u"a", u"b ", u"c"}));
  std::array<double, 2> floats{};
  EXPECT_EQ(s.ReadFloats(u"fl", floats), 2);
  EXPECT_EQ(floats, (std::array<double, 2>{1.5, -20}));
  EXPECT_EQ(s.ReadFloats(u"bad", floats), ~1);

  const uint32_t def = 0x12345678;
  EXPECT_EQ(s.ReadColor(u"col", def), 0xFFFF0080u);
  EXPECT_EQ(s.ReadColor(u"short", def), def);
  EXPECT_EQ(s.ReadColor(u"long", def), def);
  EXPECT_EQ(s.ReadColorAlpha(u"long", def), 0x04010203u);
  EXPECT_EQ(s.ReadColorAlpha(u"rgba", def), 0xFF010203u);
  EXPECT_EQ(s.ReadColorAlpha(u"col", def), def);
  EXPECT_EQ(s.ReadPoint(u"pt", {}), (TIniPoint{3, -4}));
  EXPECT_EQ(s.ReadPoint(u"long", {7, 8}), (TIniPoint{7, 8}));
  EXPECT_EQ(s.ReadPointF(u"ptf", {}), (TIniPointF{1.5f, 2.0f}));
  EXPECT_EQ(s.ReadPointF(u"bad", {1, 1}), (TIniPointF{1, 1}));
}

}  // namespace
}  // namespace kiv
