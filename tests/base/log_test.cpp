#include "base/log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>

#include "base/clock.h"
#include "support/bytes.h"

namespace kiv {
namespace {

TEST(LogBanners, HaveTheExactLinesAndDateFormat) {
  TDateTime t{2026, 3, 7, 9, 5, 2, 41};
  EXPECT_EQ(FormatDateTime(t), "07.03.2026 09:05:02.041");
  EXPECT_EQ(StartBanner("/opt/show/kivplayer", t),
            "\n================================================================\n"
            "Program : /opt/show/kivplayer\n"
            "started : 07.03.2026 09:05:02.041\n"
            "================================================================");
  EXPECT_EQ(StopBanner(t, 1532),
            "\n----------------------------------------------------------------\n"
            "Program stoped : 07.03.2026 09:05:02.041 (work time : 1532 ms)\n"
            "----------------------------------------------------------------");
  EXPECT_EQ(StopBanner(t, 1532, {1200, 3}),
            "\n----------------------------------------------------------------\n"
            "Program stoped : 07.03.2026 09:05:02.041 (work time : 1532 ms)\n"
            "Frames drawn : 1200 (dropped : 3)\n"
            "----------------------------------------------------------------");
}

class FileLogTest : public ::testing::Test {
 protected:
  // Tests run side by side in their own processes: each writes a file of its own.
  std::string path = (std::filesystem::temp_directory_path() /
                      ("kiv_log_test_" + std::to_string(::getpid()) + "_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log"))
                         .string();
  void TearDown() override { std::filesystem::remove(path); }
};

TEST_F(FileLogTest, WritesMarkThenCrLfLinesWithThreadAndTimePrefix) {
  TVirtualClock clock(500);
  SetClock(&clock);
  {
    TFileLog log(path);
    clock.Advance(42);
    log.Write("TKivEngine: OpenShow Async");
    log.WriteValue("Slides: ", int64_t(12), ".");
    log.WriteValue("Paused: ", true);
    log.WritePair("Size: ", 800, 600);
    log.WriteRect("Rect: ", 0, -1, 1920, 1080, ";");
    log.Write(std::u16string(u"caf\u00E9"));
  }
  SetClock(nullptr);
  std::string text = ReadAll(path);
  ASSERT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  std::regex line(R"(#[0-9A-F]{4} \[42\] ([^\r\n]*)\r\n)");
  std::vector<std::string> messages;
  for (std::sregex_iterator it(text.begin() + 3, text.end(), line), end; it != end; ++it)
    messages.push_back((*it)[1]);
  EXPECT_EQ(messages, (std::vector<std::string>{"TKivEngine: OpenShow Async", "Slides: 12.", "Paused: True",
                                                "Size: 800, 600", "Rect: 0, -1, 1920, 1080;", "caf\xC3\xA9"}));
}

TEST_F(FileLogTest, BannersAreWrittenBareWithCrLf) {
  TVirtualClock clock(0);
  SetClock(&clock);
  {
    TFileLog log(path);
    log.WriteStartBanner("/x/kivplayer");
    clock.Advance(1234);
    log.WriteStopBanner();
  }
  SetClock(nullptr);
  std::string text = ReadAll(path);
  std::regex expected(
      "\xEF\xBB\xBF\r\n={64}\r\nProgram : /x/kivplayer\r\nstarted : \\d\\d\\.\\d\\d\\.\\d{4} "
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\r\n={64}\r\n\r\n-{64}\r\nProgram stoped : [0-9.: ]{23} \\(work time : 1234 "
      "ms\\)\r\n-{64}\r\n");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(SilentLog, DiscardsEverything) {
  TLog log;
  EXPECT_FALSE(log.Enabled());
  log.Write("nothing");  // must not crash or print
}

}  // namespace
}  // namespace kiv
