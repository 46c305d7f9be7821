// The start-up window's one-slide project, built from the show's own sections.
#include "app/startup_project.h"

#include <gtest/gtest.h>

#include "base/memory_stream.h"
#include "base/text.h"
#include "support/project_text.h"

namespace kiv {
namespace {

const std::string kShow =
    "[main]\r\nopt_slidescount=12\r\nopt_repeat=repeat\r\nopt_scr_full=1\r\nMusic=a.mp3\r\nmusic=b.mp3\r\n"
    "opt_startupwidth=800\r\nstw_caption=Welcome\r\nopt_lockf1=0\r\nopt_customdialogscount=2\r\n"
    "custom_dialog1=About\r\nopt_usepass=1\r\n"
    "[FileMap]\r\n\"C:\\a.jpg\"=a.jpg\r\n"
    "[dialog_startup]\r\nobject Start:button\r\n  Action=exit\r\nend\r\n"
    "[dialog_help]\r\nx=1\r\n[dialog_2_]\r\ny=2\r\n[Slide1]\r\npicture=a.jpg\r\n";

TEST(StartupProject, IsOneSlideShowingTheStartupDialogWithFixedWindowSettings) {
  std::unique_ptr<TIniFile> startup = BuildStartupProject(*ParseProject(kShow));
  ASSERT_NE(startup, nullptr);
  const TIniSection& main = *startup->FindSection(u"main");
  const std::pair<const char16_t*, const char16_t*> expected[] = {
      {u"opt_slidescount", u"1"},
      {u"opt_synchpos1", u"1000"},
      {u"opt_repeat", u"stop"},
      {u"opt_scr_full", u"0"},
      {u"opt_usepass", u"0"},
      {u"opt_scr_width", u"800"},
      {u"opt_scr_height", u"480"},  // default
      {u"opt_scr_caption", u"Welcome"},
      {u"opt_lockf1", u"0"},
      {u"custom_dialog1", u"About"},
      {u"custom_dialog2", u"NotFound"},
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(main.ReadString(key, u""), value) << Utf16ToUtf8(key);
  EXPECT_EQ(main.ReadString(u"opt_runapponexitfn", u"absent"), u"");
  // Only the first music line goes.
  EXPECT_EQ(main.ReadString(u"music", u""), u"b.mp3");

  ASSERT_NE(startup->FindSection(u"slide1"), nullptr);
  EXPECT_NE(startup->FindSection(u"slide1")->FirstObject(), nullptr);
  EXPECT_NE(startup->FindSection(u"FileMap"), nullptr);
  EXPECT_NE(startup->FindSection(u"dialog_help"), nullptr);
  EXPECT_NE(startup->FindSection(u"dialog_2_"), nullptr);
  EXPECT_EQ(startup->FindSection(u"dialog_1_"), nullptr);
  // A damaged count of named dialogs is bounded, so the project is built at once.
  startup = BuildStartupProject(*ParseProject("[main]\r\nopt_customdialogscount=2000000000\r\n[FileMap]\r\n[dialog_startup]\r\n"));
  EXPECT_EQ(startup->ReadString(u"main", u"opt_customdialogscount", u""), u"1000");
}

TEST(StartupProject, AShowWithoutTheDialogPlaysUnchanged) {
  EXPECT_EQ(BuildStartupProject(*ParseProject("[main]\r\n[FileMap]\r\n")), nullptr);
  EXPECT_EQ(BuildStartupProject(*ParseProject("[main]\r\n[dialog_startup]\r\n")), nullptr);

  TFileAccessor::TReadHook hook = StartupProjectHook(u"Project.kiv");
  const std::string plain = "[main]\r\nopt_slidescount=3\r\n";
  auto replaced = hook(u"project.KIV", std::make_unique<TMemoryStream>(std::vector<uint8_t>(plain.begin(), plain.end())));
  TIniFile reread;
  ASSERT_TRUE(reread.LoadFromStream(*replaced));
  EXPECT_EQ(reread.ReadInteger(u"main", u"opt_slidescount", 0), 3);

  // Other files pass untouched; the project is replaced when it has the dialog.
  auto picture = std::make_unique<TMemoryStream>(std::vector<uint8_t>{1, 2});
  TStream* original = picture.get();
  EXPECT_EQ(hook(u"a.jpg", std::move(picture)).get(), original);
  replaced = hook(u"Project.kiv", std::make_unique<TMemoryStream>(std::vector<uint8_t>(kShow.begin(), kShow.end())));
  ASSERT_TRUE(reread.LoadFromStream(*replaced));
  EXPECT_EQ(reread.ReadInteger(u"main", u"opt_slidescount", 0), 1);
}

}  // namespace
}  // namespace kiv
