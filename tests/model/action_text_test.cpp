#include "model/action_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/text.h"

namespace kiv {
namespace {

TEST(ActionText, PlainWordsIgnoreCase) {
  const std::vector<std::pair<std::u16string_view, TActionType>> words{
      {u"exit", TActionType::Exit},           {u"NextSlide", TActionType::NextSlide},
      {u"PREVSLIDE", TActionType::PrevSlide}, {u"help", TActionType::Help},
      {u"Pause", TActionType::Pause},         {u"print", TActionType::Print},
      {u"stop", TActionType::Stop},           {u"CloseDialog", TActionType::CloseDialog},
      {u"saveslide", TActionType::SaveSlide}, {u"ChangePrinter", TActionType::ChangePrinter}};
  for (const auto& [word, type] : words)
    EXPECT_EQ(ParseActionText(word), (TKivActionInfo{type, 0, {}})) << Utf16ToUtf8(word);

  EXPECT_EQ(ParseActionText(u"GoToFirstSlide"), (TKivActionInfo{TActionType::GoToSlide, 0, {}}));
  // Only whole words count: no trimming, no prefixes of plain words.
  EXPECT_TRUE(ParseActionText(u" exit").Empty());
  EXPECT_TRUE(ParseActionText(u"exitnow").Empty());
  EXPECT_TRUE(ParseActionText(u"").Empty());
  EXPECT_TRUE(ParseActionText(u"jump(3)").Empty());
}

TEST(ActionText, QuotedArgumentsKeepTheirCase) {
  EXPECT_EQ(ParseActionText(u"RunApp(\"notepad.exe ReadMe.txt\")"),
            (TKivActionInfo{TActionType::RunApp, 0, u"notepad.exe ReadMe.txt"}));
  EXPECT_EQ(ParseActionText(u"openwebsite(\"Example.org/Page\")"),
            (TKivActionInfo{TActionType::OpenWebSite, 0, u"Example.org/Page"}));
  EXPECT_EQ(ParseActionText(u"writeemail(\"Me@Example.org\")").Type, TActionType::WriteEmail);
  EXPECT_EQ(ParseActionText(u"runappandexit(\"a.exe\")"), (TKivActionInfo{TActionType::RunAppAndExit, 0, u"a.exe"}));
  EXPECT_EQ(ParseActionText(u"runpresentation(\"Next.exe -slide 2\")"),
            (TKivActionInfo{TActionType::RunPresentation, 0, u"Next.exe -slide 2"}));
  EXPECT_EQ(ParseActionText(u"RunPresentationAndReturn(\"Other.exe\")"),
            (TKivActionInfo{TActionType::RunPresentationAndReturn, 0, u"Other.exe"}));
  EXPECT_EQ(ParseActionText(u"OpenDialog(\"About\")"), (TKivActionInfo{TActionType::OpenDialog, 0, u"About"}));

  // The argument is cut by position, whatever the quotes: one character after the
  // prefix and two at the end go. Texts too short for that give an empty argument.
  EXPECT_EQ(ParseActionText(u"runapp(xcalc.exe)").Text, u"calc.ex");
  EXPECT_EQ(ParseActionText(u"runapp(").Text, u"");
  EXPECT_EQ(ParseActionText(u"runapp(\"").Text, u"");
  EXPECT_EQ(ParseActionText(u"runapp(\"\")").Text, u"");
}

TEST(ActionText, GoToSlideTakesANumberOrAName) {
  EXPECT_EQ(ParseActionText(u"gotoslide(3)"), (TKivActionInfo{TActionType::GoToSlide, 3, {}}));
  EXPECT_EQ(ParseActionText(u"GotoSlide(12)"), (TKivActionInfo{TActionType::GoToSlide, 12, {}}));
  EXPECT_EQ(ParseActionText(u"gotoslide(Intro)"), (TKivActionInfo{TActionType::GoToSlide, -1, u"Intro"}));
  // Hexadecimal look-alikes and numbers with blanks are names.
  EXPECT_EQ(ParseActionText(u"gotoslide(x1)"), (TKivActionInfo{TActionType::GoToSlide, -1, u"x1"}));
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
            (TKivActionInfo{TActionType::GoToSlide, 2, u"Beach"}));
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(Intro)"), resolver).Number, 1);
  // A name the show does not know leaves the show where it is instead of rewinding it.
  EXPECT_TRUE(ResolveSlideName(ParseActionText(u"gotoslide(beach)"), resolver).Empty());
  EXPECT_TRUE(ResolveSlideName(ParseActionText(u"gotoslide()"), resolver).Empty());
  EXPECT_TRUE(ResolveSlideName(ParseActionText(u"gotoslide(Beach)"), nullptr).Empty());
  // Numbers and other actions pass unchanged.
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotoslide(2)"), resolver),
            (TKivActionInfo{TActionType::GoToSlide, 2, {}}));
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"gotofirstslide"), resolver).Number, 0);
  EXPECT_EQ(ResolveSlideName(ParseActionText(u"opendialog(\"Beach\")"), resolver).Type, TActionType::OpenDialog);
}

}  // namespace
}  // namespace kiv
