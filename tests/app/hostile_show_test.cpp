// Damaged and hostile shows opened by the built player without a display: each ends
// with its message and exit code well within the time limit, and a player fed picture
// bombs stays under its picture memory budget.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "container/container_test_support.h"
#include "support/build_folder.h"
#include "support/bytes.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

constexpr int kBudgetMiB = 256;
constexpr double kTimeLimitSeconds = 30;
const std::string kCantLoad = "Slideshow Error: Can`t Load Show";
const std::string kDamaged = "Slideshow Error: Slide-show File Damaged";
const std::string kModified = "Slideshow Error: Slide-show File Modified";

struct TRun {
  int ExitCode = -1;
  std::string FirstErrorLine;
  double Seconds = 0;
  int64_t PeakKiB = 0;
};

void PutU32Le(TBytes& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void PutU16(TBytes& bytes, size_t at, uint32_t v, bool bigEndian) {
  bytes[at + (bigEndian ? 1 : 0)] = uint8_t(v);
  bytes[at + (bigEndian ? 0 : 1)] = uint8_t(v >> 8);
}

// The picture file with its header announcing side × side pixels.
TBytes Bomb(TBytes bytes, const std::string& kind, uint32_t side) {
  if (kind == "bmp") {
    PutU32Le(bytes, 18, side);
    PutU32Le(bytes, 22, side);
  } else if (kind == "png") {  // IHDR, big-endian, with its checksum made anew
    for (size_t at : {16u, 20u}) bytes[at] = bytes[at + 1] = 0, PutU16(bytes, at + 2, side, true);
    const uint32_t crc = uint32_t(crc32(0, bytes.data() + 12, 17));
    for (int i = 0; i < 4; ++i) bytes[29 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
  } else if (kind == "gif") {  // the logical screen and every frame
    PutU16(bytes, 6, side, false);
    PutU16(bytes, 8, side, false);
    size_t at = 13 + ((bytes[10] & 0x80) ? 3u << ((bytes[10] & 7) + 1) : 0u);
    while (at < bytes.size() && (bytes[at] == 0x21 || bytes[at] == 0x2C)) {
      if (bytes[at] == 0x2C) {
        PutU16(bytes, at + 5, side, false);
        PutU16(bytes, at + 7, side, false);
        at += 10 + ((bytes[at + 9] & 0x80) ? 3u << ((bytes[at + 9] & 7) + 1) : 0u);
        ++at;  // the LZW code size
      } else {
        at += 2;
      }
      while (at < bytes.size() && bytes[at] != 0) at += bytes[at] + 1u;  // sub-blocks
      ++at;
    }
  } else {  // JPEG: the start-of-frame segment
    for (size_t at = 2; at + 9 < bytes.size(); ++at)
      if (bytes[at] == 0xFF && bytes[at + 1] == 0xC0) {
        PutU16(bytes, at + 5, side, true);
        PutU16(bytes, at + 7, side, true);
        break;
      }
  }
  return bytes;
}

class HostileShowTest : public TempFolderTest {
 protected:
  HostileShowTest() : TempFolderTest("kiv_hostile_") {}

  std::string Build(const char* program) const { return (fs::path(testing::BuildFolder()) / program).string(); }

  // The player on a display that needs no screen, with the picture budget of the test;
  // its exit code, first line of standard error, time taken and peak memory.
  TRun Play(const std::string& arguments) {
    const std::string command = "cd '" + folder.string() + "' && export XDG_STATE_HOME='" + (folder / "state").string() +
                                "' SDL_VIDEODRIVER=offscreen KIV_PICTURE_MEMORY_MB=" + std::to_string(kBudgetMiB) +
                                " && exec timeout 60 '" + Build("kivplayer") + "' " + arguments + " 2>'" +
                                (folder / "stderr.txt").string() + "'";
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    TRun run;
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.PeakKiB = usage.ru_maxrss;
    const std::string errors = ReadAll(folder / "stderr.txt");
    run.FirstErrorLine = errors.substr(0, errors.find('\n'));
    return run;
  }

  void Expect(const std::string& what, const TRun& run, int exitCode, const std::string& message) {
    EXPECT_EQ(run.ExitCode, exitCode) << what;
    EXPECT_EQ(run.FirstErrorLine, message) << what;
    EXPECT_LT(run.Seconds, kTimeLimitSeconds) << what;
  }

  // A show of slides, each 100 ms long with one picture, that closes at its end.
  std::string Project(const std::vector<std::string>& pictures, const std::string& extra = "") const {
    std::string text = "[main]\r\nopt_slidescount=" + std::to_string(pictures.size()) +
                       "\r\nopt_repeat=close\r\nopt_scr_full=0\r\nopt_scr_width=320\r\nopt_scr_height=240\r\n"
                       "opt_exefn=C:\\Shows\\hostile.exe\r\n";
    for (size_t i = 0; i < pictures.size(); ++i) text += "opt_synchpos" + std::to_string(i + 1) + "=" + std::to_string(100 * (i + 1)) + "\r\n";
    for (size_t i = 0; i < pictures.size(); ++i) text += "[Slide" + std::to_string(i + 1) + "]\r\nobject P: MainImage\r\n  ImageName=" + pictures[i] + "\r\nend\r\n";
    return text + extra;
  }
};

TEST_F(HostileShowTest, DamagedContainersAreReportedWithTheirMessage) {
  fs::create_directories(folder / "project");
  ASSERT_EQ(std::system(("convert -size 64x48 xc:red '" + (folder / "project" / "red.jpg").string() + "'").c_str()), 0);
  std::ofstream(folder / "project" / "Project.kiv") << Project({"red.jpg"});
  ASSERT_EQ(std::system(("'" + Build("kivshow") + "' pack '" + (folder / "project" / "Project.kiv").string() + "' --data -o '" +
                         (folder / "show").string() + "' >/dev/null")
                            .c_str()),
            0);
  const TBytes show = FileBytes(folder / "show");
  ASSERT_GT(show.size(), size_t(kLongTrailerSize));
  // The long trailer: index position (8 bytes), mark (4), the block's size (8).
  const size_t trailer = show.size() - size_t(kLongTrailerSize);
  size_t index = 0;
  for (int i = 7; i >= 0; --i) index = index << 8 | show[trailer + size_t(i)];
  const auto cut = [&show](size_t count) { return TBytes(show.begin(), show.end() - std::ptrdiff_t(count)); };
  const auto withIndexAt = [&](uint64_t position) {
    TBytes bytes = show;
    for (int i = 0; i < 8; ++i) bytes[trailer + size_t(i)] = uint8_t(position >> (8 * i));
    return bytes;
  };
  const auto without = [&show](size_t from, size_t to) {
    TBytes bytes(show.begin(), show.begin() + std::ptrdiff_t(from));
    bytes.insert(bytes.end(), show.begin() + std::ptrdiff_t(to), show.end());
    return bytes;
  };
  const struct {
    const char* Name;
    TBytes Bytes;
    int ExitCode;
    std::string Message;
  } cases[] = {
      {"whole", show, 0, ""},
      {"cut by 1", cut(1), 1, kCantLoad},
      {"cut by 4", cut(4), 1, kCantLoad},
      {"cut by 8: a short trailer remains", cut(8), 0, ""},
      {"cut by 12", cut(12), 1, kCantLoad},
      {"cut by 16", cut(16), 1, kCantLoad},
      {"cut by 20", cut(20), 1, kCantLoad},
      {"half the index gone", without(index + (trailer - index) / 2, trailer), 1, kDamaged},
      {"entries cut before the index", without(index - 50, index), 1, kModified},
      {"index past the end", withIndexAt(show.size() + 1000), 1, kDamaged},
      {"index before the start", withIndexAt(uint64_t(-5)), 1, kDamaged},
      {"zero length", {}, 1, kCantLoad},
  };
  for (const auto& c : cases) {
    PutFileBytes(folder / "hostile", c.Bytes);
    Expect(c.Name, Play("-exename '" + (folder / "hostile").string() + "'"), c.ExitCode, c.Message);
  }
}

TEST_F(HostileShowTest, HostileProjectsPlayToTheirEnd) {
  // A million slides, and a FileMap whose names lead round in a circle.
  fs::create_directories(folder / "million");
  std::ofstream(folder / "million" / "Project.kiv")
      << "[main]\r\nopt_slidescount=1000000\r\nopt_synchpos1000000=300\r\nopt_repeat=close\r\nopt_scr_full=0\r\n"
         "opt_scr_width=320\r\nopt_scr_height=240\r\n[Slide1]\r\nobject P: MainImage\r\n  ImageName=a.jpg\r\nend\r\n[FileMap]\r\na.jpg=b.jpg\r\n"
         "b.jpg=c.jpg\r\nc.jpg=A.JPG\r\n";
  Expect("a million slides, recursive FileMap", Play("-filename '" + (folder / "million" / "Project.kiv").string() + "'"), 0, "");

  // Entries of impossible sizes and places.
  const std::string project = Project({"a.jpg", "b.jpg", "c.jpg"});
  const TBytes program(project.begin(), project.end());
  const std::string index = "\xEF\xBB\xBF[Project.kiv]\r\n_ps=0\r\n_sz=" + std::to_string(project.size()) +
                            "\r\n[a.jpg]\r\n_ps=0\r\n_sz=9223372036854775807\r\n[b.jpg]\r\n_ps=-100\r\n_sz=5\r\n"
                            "[c.jpg]\r\n_ps=10\r\n_sz=5000000000\r\n_pm=1\r\n[$protection$]\r\nkivversion=1.0\r\n";
  PutFileBytes(folder / "sizes", test::HandMadeContainer(program, index, true));
  Expect("impossible entry sizes", Play("-exename '" + (folder / "sizes").string() + "'"), 0, "");
}

TEST_F(HostileShowTest, PictureBombsShowThePlaceholderWithinTheBudget) {
  fs::create_directories(folder / "bombs");
  std::vector<std::string> pictures;
  for (const std::string kind : {"bmp", "png", "gif", "jpg"}) {
    const fs::path small = folder / ("small." + kind);
    ASSERT_EQ(std::system(("convert -size 16x16 gradient:red-blue " + std::string(kind == "bmp" ? "BMP3:" : "") + "'" +
                           small.string() + "'")
                              .c_str()),
              0);
    // 65535 is beyond any side the player takes; 20000 × 20000 passes the side limit and
    // is refused by the budget alone.
    for (uint32_t side : {65535u, 20000u}) {
      const std::string name = std::to_string(side) + "." + kind;
      PutFileBytes(folder / "bombs" / name, Bomb(FileBytes(small), kind, side));
      pictures.push_back(name);
    }
  }
  std::ofstream(folder / "bombs" / "Project.kiv") << Project(pictures);
  const TRun run = Play("-filename '" + (folder / "bombs" / "Project.kiv").string() + "'");
  Expect("picture bombs", run, 0, "");
  // Under AddressSanitizer freed blocks stay resident in its quarantine and every byte has
  // its shadow, so the player's resident memory says nothing of what it allocated.
#ifndef __SANITIZE_ADDRESS__
  EXPECT_LT(run.PeakKiB, kBudgetMiB * 1024) << "peak resident memory, KiB";
#endif
  std::cout << "picture bombs: peak resident memory " << run.PeakKiB / 1024 << " MiB, " << run.Seconds << " s\n";
}

}  // namespace
}  // namespace kiv
