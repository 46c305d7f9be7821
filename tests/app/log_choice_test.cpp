#include "app/log_choice.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kiv {
namespace {

namespace fs = std::filesystem;

class LogChoiceTest : public TempFolderTest {
 protected:
  LogChoiceTest() : TempFolderTest("kiv_log_choice_") {}

  std::string savedState = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
  bool hadState = std::getenv("XDG_STATE_HOME") != nullptr;

  void TearDown() override {
    if (hadState)
      ::setenv("XDG_STATE_HOME", savedState.c_str(), 1);
    else
      ::unsetenv("XDG_STATE_HOME");
  }
};

TEST_F(LogChoiceTest, OptionsChooseTheLog) {
  const std::string program = (folder / "kivplayer").string();
  EXPECT_EQ(LogFilePath(program), program + ".log");
  EXPECT_FALSE(ChooseLog(TCommandLine::FromText(u"kivplayer"), program)->Enabled());
  EXPECT_FALSE(ChooseLog(TCommandLine::FromText(u"kivplayer -Log -FileLog"), program)->Enabled());
  EXPECT_NE(dynamic_cast<TStdLog*>(ChooseLog(TCommandLine::FromText(u"kivplayer -log"), program).get()), nullptr);
  EXPECT_FALSE(fs::exists(program + ".log"));

  const std::unique_ptr<TLog> log = ChooseLog(TCommandLine::FromText(u"kivplayer -log -filelog"), program);
  auto* fileLog = dynamic_cast<TFileLog*>(log.get());
  ASSERT_NE(fileLog, nullptr);
  EXPECT_EQ(fileLog->Path(), program + ".log");
}

TEST_F(LogChoiceTest, ClosedProgramFolderSendsTheLogToTheStateFolder) {
  const fs::path state = folder / "state" / "nested";  // made on demand
  ::setenv("XDG_STATE_HOME", state.c_str(), 1);
  EXPECT_EQ(UserStateFolder(), state.string());

  ::testing::internal::CaptureStderr();
  std::unique_ptr<TLog> log = OpenFileLog("/nonexistent-folder/kiv/kivplayer");
  const std::string said = ::testing::internal::GetCapturedStderr();
  auto* fileLog = dynamic_cast<TFileLog*>(log.get());
  ASSERT_NE(fileLog, nullptr);
  const std::string expected = (state / "kivplayer.log").string();
  EXPECT_EQ(fileLog->Path(), expected);
  EXPECT_TRUE(fs::exists(expected));
  EXPECT_EQ(said, "kivplayer: log written to " + expected + " (program folder not writable)\n");
}

TEST_F(LogChoiceTest, NoWritableFolderLeavesTheLogSilent) {
  ::setenv("XDG_STATE_HOME", "/proc/kiv-no-such-state", 1);
  ::testing::internal::CaptureStderr();
  std::unique_ptr<TLog> log = OpenFileLog("/nonexistent-folder/kiv/kivplayer");
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(log->Enabled());
  EXPECT_TRUE(said.starts_with("kivplayer: no log written: ")) << said;
}

TEST_F(LogChoiceTest, RelativeStateHomeIsIgnored) {
  ::setenv("XDG_STATE_HOME", "relative/state", 1);
  EXPECT_TRUE(UserStateFolder().ends_with("/.local/state"));
}

}  // namespace
}  // namespace kiv
