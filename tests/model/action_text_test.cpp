#include "model/action_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text.h"

namespace kiv {
namespace {

TEST(ActionText, PlainWordsIgnoreCase) {
  const std::vector<std::pair<std::u16string_view, TKivActionType>> words{
      {u"exit", kActionExit},           {u"NextSlide", kActionNextSlide},
      {u"PREVSLIDE", kActionPrevSlide}, {u"help", kActionHelp},
      {u"Pause", kActionPause},         {u"print", kActionPrint},
      {u"stop", kActionStop},           {u"CloseDialog", kActionCloseDialog},
      {u"saveslide", kActionSaveSlide}, {u"ChangePrinter", kActionChangePrinter}};
  for (const auto& [word, type] : words)
    EXPECT_EQ(ParseActionText(word), (TKivActionInfo{type, 0, {}})) << Utf16ToUtf8(word);

  EXPECT_EQ(ParseActionText(u"GoToFirstSlide"), (TKivActionInfo{kActionGoToSlide, 0, {}}));
  // Only whole words count: no trimming, no prefixes of plain words.
  EXPECT_EQ(ParseActionText(u" exit"), TKivActionInfo{});
  EXPECT_EQ(ParseActionText(u"exitnow"), TKivActionInfo{});
  EXPECT_EQ(ParseActionText(u""), TKivActionInfo{});
  EXPECT_EQ(ParseActionText(u"jump(3)"), TKivActionInfo{});
}

TEST(ActionText, QuotedArgumentsKeepTheirCase) {
  EXPECT_EQ(ParseActionText(u"RunApp(\"notepad.exe ReadMe.txt\")"),
            (TKivActionInfo{kActionRunApp, 0, u"notepad.exe ReadMe.txt"}));
  EXPECT_EQ(ParseActionText(u"openwebsite(\"Example.org/Page\")"),
            (TKivActionInfo{kActionOpenWebSite, 0, u"Example.org/Page"}));
  EXPECT_EQ(ParseActionText(u"writeemail(\"Me@Example.org\")").Type, kActionWriteEmail);
  EXPECT_EQ(ParseActionText(u"runappandexit(\"a.exe\")"), (TKivActionInfo{kActionRunAppAndExit, 0, u"a.exe"}));
  EXPECT_EQ(ParseActionText(u"runpresentation(\"Next.exe -slide 2\")"),
            (TKivActionInfo{kActionRunPresentation, 0, u"Next.exe -slide 2"}));
  EXPECT_EQ(ParseActionText(u"RunPresentationAndReturn(\"Other.exe\")"),
            (TKivActionInfo{kActionRunPresentationAndReturn, 0, u"Other.exe"}));
  EXPECT_EQ(ParseActionText(u"OpenDialog(\"About\")"), (TKivActionInfo{kActionOpenDialog, 0, u"About"}));

  // The argument is cut by position, whatever the quotes: one character after the
  // prefix and two at the end go. Texts too short for that give an empty argument.
  EXPECT_EQ(ParseActionText(u"runapp(xcalc.exe)").Text, u"calc.ex");
  EXPECT_EQ(ParseActionText(u"runapp(").Text, u"");
  EXPECT_EQ(ParseActionText(u"runapp(\"").Text, u"");
  EXPECT_EQ(ParseActionText(u"runapp(\"\")").Text, u"");
}

TEST(ActionText, GoToSlideTakesANumberOrAName) {
  EXPECT_EQ(ParseActionText(u"gotoslide(3)"), (TKivActionInfo{kActionGoToSlide, 3, {}}));
  EXPECT_EQ(ParseActionText(u"GotoSlide(12)"), (TKivActionInfo{kActionGoToSlide, 12, {}}));
  EXPECT_EQ(ParseActionText(u"gotoslide(Intro)"), (TKivActionInfo{kActionGoToSlide, -1, u"Intro"}));
  // Hexadecimal look-alikes and numbers with blanks are names.
  EXPECT_EQ(ParseActionText(u"gotoslide(x1)"), (TKivActionInfo{kActionGoToSlide, -1, u"x1"}));
  EXPECT_EQ(ParseActionText(u"gotoslide($A)").Text, u"$A");
  EXPECT_EQ(ParseActionText(u"gotoslide(2 )").Text, u"2 ");
  EXPECT_EQ(ParseActionText(u"gotoslide(").Text, u"");
}

TEST(ActionText, SlideNamesResolveAgainstTheShow) {
  std::vector<TSlideInfo> slides(3);
  slides[0].SlideId = u"Intro";
  slides[1].SlideId = u"Beach";
  slides[2].SlideId = u"Beach";
  const TSlideNameResolver resolver = [&](std::u16string_view name) { return SlideIndexByName(slides, name); };

  // The first slide of that name, exactly as written; numbers count from 1.
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(Beach)"), resolver),
            (TKivActionInfo{kActionGoToSlide, 2, u"Beach"}));
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(Intro)"), resolver).Number, 1);
  // A name the show does not know leaves the show where it is instead of rewinding it.
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(beach)"), resolver), TKivActionInfo{});
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide()"), resolver), TKivActionInfo{});
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(Beach)"), nullptr), TKivActionInfo{});
  // Numbers and other actions pass unchanged.
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(2)"), resolver), (TKivActionInfo{kActionGoToSlide, 2, {}}));
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotofirstslide"), resolver).Number, 0);
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"opendialog(\"Beach\")"), resolver).Type, kActionOpenDialog);
}

}  // namespace
}  // namespace kiv
