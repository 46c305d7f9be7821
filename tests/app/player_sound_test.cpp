#include "app/player_sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/log.h"

namespace kiv {
namespace {

// Keeps the log's lines.
class TLinesLog : public TLog {
 public:
  bool Enabled() const override { return true; }
  std::string Text;

 protected:
  void WriteRawLine(std::string_view line) override { Text.append(line).append("\n"); }
};

class PlayerSound : public ::testing::Test {
 protected:
  PlayerSound() {
    auto log = std::make_unique<TLinesLog>();
    lines = log.get();
    SetLog(std::move(log));
  }
  ~PlayerSound() override {
    SetLog(nullptr);
    if (hadDriver) ::setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1); else ::unsetenv("SDL_AUDIODRIVER");
  }
  TLinesLog* lines;
  bool hadDriver = std::getenv("SDL_AUDIODRIVER") != nullptr;
  std::string savedDriver = hadDriver ? std::getenv("SDL_AUDIODRIVER") : "";
};

TEST_F(PlayerSound, NoSoundAndTheDummyDriverRunSilentAndSaySoOnce) {
  for (const char16_t* command : {u"kivplayer -nosound", u"kivplayer"}) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    lines->Text.clear();
    TPlayerSound sound(TCommandLine::FromText(command));
    EXPECT_FALSE(sound.HasOutput());
    EXPECT_EQ(sound.TakeOutput(), nullptr);
    const std::string& text = lines->Text;
    const size_t first = text.find("the show runs silent");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find("the show runs silent", first + 1), std::string::npos) << text;
  }
}

TEST_F(PlayerSound, TheDiskDriverIsOpenedAtStartAndClosedAtTheEnd) {
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  {
    TPlayerSound sound(TCommandLine::FromText(u"kivplayer"));
    EXPECT_TRUE(sound.HasOutput());
    EXPECT_NE(lines->Text.find("Sound output: sdl:disk"), std::string::npos) << lines->Text;
  }
  EXPECT_NE(lines->Text.find("Sound output: closed"), std::string::npos);
  ::unsetenv("SDL_DISKAUDIOFILE");
}

}  // namespace
}  // namespace kiv
