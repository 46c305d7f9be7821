// The desktop's launcher on real processes: programs found by Windows names and started
// detached with their arguments, documents and links handed whole to xdg-open (a
// recording stand-in on PATH), and what is refused.
#include "platform/program_launcher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& condition) {
  for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
       std::chrono::steady_clock::now() < deadline;) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

std::string Read(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

class ProgramLauncherTest : public TempFolderTest {
 protected:
  ProgramLauncherTest() : TempFolderTest("kiv_launcher_") {}
  void SetUp() override {
    const char* path = std::getenv("PATH");
    FOldPath = path ? path : "";
    fs::create_directories(folder / "bin");
    // Reports what it was asked to open, then ends.
    Write(folder / "bin" / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (folder / "opened.tmp").string() +
                                           "'\nmv '" + (folder / "opened.tmp").string() + "' '" +
                                           (folder / "opened").string() + "'\n",
          true);
    ::setenv("PATH", ((folder / "bin").string() + ":/usr/bin:/bin").c_str(), 1);
  }
  void TearDown() override { ::setenv("PATH", FOldPath.c_str(), 1); }

  void Write(const fs::path& path, const std::string& text, bool executable = false) {
    std::ofstream(path, std::ios::binary) << text;
    if (executable) fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
  }
  TLaunchResult Launch(const std::string& program, std::vector<std::string> arguments = {}) {
    return SystemLauncher().Launch({program, std::move(arguments), folder.string()});
  }
  std::string Opened() {
    EXPECT_TRUE(WaitUntil([&] { return fs::exists(folder / "opened"); }));
    const std::string text = Read(folder / "opened");
    fs::remove(folder / "opened");
    return text;
  }

 private:
  std::string FOldPath;
};

TEST_F(ProgramLauncherTest, AWindowsNameStartsTheProgramDetachedWithItsArgumentsAsTheyAre) {
  Write(folder / "Tool", "#!/bin/sh\n{ for a in \"$@\"; do echo \"arg:$a\"; done; echo \"pwd:$(pwd)\";"
                         " echo \"sid:$(cut -d' ' -f6 /proc/$$/stat)\"; echo \"pid:$$\";"
                         " echo \"in:$(readlink /proc/$$/fd/0)\"; echo \"fds:$(ls /proc/$$/fd | tr '\\n' ' ')\"; }"
                         " > report.tmp\nmv report.tmp report\n",
        true);
  // A descriptor the launcher must not hand on, whatever its flags.
  const int devNull = ::open("/dev/null", O_RDONLY);
  const int open = ::dup2(devNull, 47);  // a number the child's shell does not use itself
  ::close(devNull);
  ASSERT_EQ(open, 47);
  const TLaunchResult result = Launch("tool.EXE", {"a b", "$HOME;rm x", ""});
  ::close(open);
  ASSERT_EQ(result.Status, TLaunchStatus::Started) << result.Reason;
  ASSERT_TRUE(WaitUntil([&] { return fs::exists(folder / "report"); }));
  const std::string report = Read(folder / "report");
  EXPECT_NE(report.find("arg:a b\narg:$HOME;rm x\narg:\npwd:" + folder.string() + "\n"), std::string::npos) << report;
  EXPECT_EQ(report.find("sid:" + std::to_string(::getsid(0)) + "\n"), std::string::npos) << report;  // a session of its own
  EXPECT_NE(report.find("in:/dev/null"), std::string::npos) << report;
  EXPECT_EQ(report.find(" " + std::to_string(open) + " "), std::string::npos) << report;
  // Reaped once it ends: no zombie stays behind.
  const std::string pid = report.substr(report.find("pid:") + 4, report.find('\n', report.find("pid:")) - report.find("pid:") - 4);
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists("/proc/" + pid); })) << pid;
}

TEST_F(ProgramLauncherTest, DocumentsFoldersAndLinksOpenWholeOnTheDesktop) {
  Write(folder / "Read Me.txt", "hello");
  fs::create_directories(folder / "pictures");
  EXPECT_EQ(Launch("read me.TXT").Status, TLaunchStatus::Started);  // names from Windows ignore case
  EXPECT_EQ(Opened(), (folder / "Read Me.txt").string() + "\n");
  EXPECT_EQ(Launch("pictures").Status, TLaunchStatus::Started);
  EXPECT_EQ(Opened(), (folder / "pictures").string() + "\n");
  EXPECT_EQ(Launch("mailto:a@x.org,b@y.org").Status, TLaunchStatus::Started);
  EXPECT_EQ(Opened(), "mailto:a@x.org,b@y.org\n");
  EXPECT_EQ(Launch("HTTPS://example.com/?a=1&b=2").Status, TLaunchStatus::Started);
  EXPECT_EQ(Opened(), "HTTPS://example.com/?a=1&b=2\n");
}

TEST_F(ProgramLauncherTest, WhatCannotOrMustNotRunHereIsRefusedOrNotFound) {
  Write(folder / "setup.exe", std::string("MZ\x90\0\3\0", 6));
  Write(folder / "run.sh", "#!/bin/sh\ntouch ran\n");
  Write(folder / "tool.desktop", "[Desktop Entry]\nExec=touch ran\n");
  const struct {
    const char* Program;
    TLaunchStatus Status;
    const char* Reason;
  } cases[] = {
      {"setup.exe", TLaunchStatus::Refused, "Windows program and cannot run here"},
      {"run.sh", TLaunchStatus::Refused, "not marked as a program"},
      {"tool.desktop", TLaunchStatus::Refused, "not marked as a program"},
      {"file:///etc/passwd", TLaunchStatus::Refused, "\"file:\""},
      {"notepad.exe", TLaunchStatus::NotFound, "Windows program, and no program of that name"},
      {"C:\\Tools\\viewer.exe", TLaunchStatus::NotFound, "Windows program"},
      {"nothing.txt", TLaunchStatus::NotFound, "not found"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Program);
    const TLaunchResult result = Launch(c.Program);
    EXPECT_EQ(result.Status, c.Status);
    EXPECT_NE(result.Reason.find(c.Reason), std::string::npos) << result.Reason;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(folder / "ran"));
  EXPECT_FALSE(fs::exists(folder / "opened"));
}

}  // namespace
}  // namespace kiv
