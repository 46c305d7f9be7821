// The SDL output on a real sound server: a PulseAudio started here with a null sink
// plays a 1 kHz tone from the output, and parec records it back from the sink's monitor.
// Where no server can start, SDL's disk driver plays the same path into a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_output.h"
#include "support/test_folder.h"

namespace kiv {
namespace {

constexpr double kToneHz = 1000;
constexpr int kToneLevel = 8000;

// Sets an environment variable for the life of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::string& value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old, FHad = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~TScopedEnv() {
    if (FHad) ::setenv(FName, FOld.c_str(), 1); else ::unsetenv(FName);
  }

 private:
  const char* FName;
  std::string FOld;
  bool FHad = false;
};

pid_t Spawn(const std::string& command) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return child;
}

void End(pid_t child) {
  if (child <= 0) return;
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
}

// Waits (on real time, bounded) until done answers true.
template <typename Done>
bool WaitFor(Done done, int seconds = 20) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::vector<int16_t> ReadSamples(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// The tone, from its first loud frame on: pitch from upward zero crossings, and peak.
struct TToneFound {
  double Hz = 0;
  int Peak = 0;
};
TToneFound Analyse(const std::vector<int16_t>& stereo) {
  size_t start = 0;
  while (start < stereo.size() && std::abs(stereo[start]) < kToneLevel / 2) start += 2;
  start += 2 * 441;  // past any ramp at the start
  const size_t frames = 44100 / 4;
  TToneFound found;
  if (stereo.size() < start + 2 * frames) return found;
  int crossings = 0;
  for (size_t f = 1; f < frames; ++f) {
    const int16_t before = stereo[start + 2 * (f - 1)], now = stereo[start + 2 * f];
    crossings += before < 0 && now >= 0;
    found.Peak = std::max({found.Peak, std::abs(int(now)), std::abs(int(stereo[start + 2 * f + 1]))});
  }
  found.Hz = crossings * 44100.0 / frames;
  return found;
}

class SdlAudioOutput : public TempFolderTest {
 protected:
  // A PulseAudio of our own with a null sink; false when none can start here.
  bool StartServer() {
    // A server in system mode runs as its own user: it must be able to make its socket.
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    socket = folder / "native";
    std::ofstream(folder / "server.pa") << "load-module module-null-sink sink_name=kivsink rate=44100 channels=2\n"
                                        << "load-module module-native-protocol-unix auth-anonymous=1 socket="
                                        << socket.string() << "\nset-default-sink kivsink\n";
    const std::string mode = ::geteuid() == 0 ? "--system " : "";
    server = Spawn("pulseaudio " + mode + "--daemonize=no --disallow-exit --use-pid-file=no --exit-idle-time=-1 -n -F " +
                   (folder / "server.pa").string() + " >" + (folder / "server.log").string() + " 2>&1");
    const std::string info = "PULSE_SERVER=unix:" + socket.string() + " pactl info >/dev/null 2>&1";
    return WaitFor([&] { return std::system(info.c_str()) == 0; }, 10);
  }
  ~SdlAudioOutput() override {
    End(recorder);
    End(server);
  }

  // Plays the tone on SDL's output until grown answers true.
  template <typename Grown>
  void PlayTone(const Grown& grown) {
    std::string reason;
    auto output = OpenAudioOutput("sdl", &reason);
    ASSERT_NE(output, nullptr) << reason;
    uint64_t frame = 0;
    output->Start([&](int16_t* frames, size_t count) {
      for (size_t i = 0; i < count; ++i, ++frame) {
        const auto value = int16_t(std::lround(kToneLevel * std::sin(2 * M_PI * kToneHz * double(frame) / 44100)));
        frames[2 * i] = frames[2 * i + 1] = value;
      }
    });
    EXPECT_TRUE(WaitFor(grown)) << output->Describe() << " played nothing";
    output->Stop();
    EXPECT_GT(output->FramesPlayed(), 0u);
  }

  void ExpectTone(const std::filesystem::path& recording) {
    const TToneFound found = Analyse(ReadSamples(recording));
    EXPECT_NEAR(found.Hz, kToneHz, 8);
    EXPECT_NEAR(found.Peak, kToneLevel, kToneLevel * 0.03);
  }

  uintmax_t Size(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
  }

  std::filesystem::path socket;
  pid_t server = -1;
  pid_t recorder = -1;
};

// Half a second of stereo 16-bit sound, after the first quarter second.
constexpr uintmax_t kEnoughBytes = 44100 * 4 * 3 / 4;

TEST_F(SdlAudioOutput, AToneReachesTheSoundServerAtItsPitchAndLevel) {
  if (!StartServer()) {
    // No server here: the disk driver plays the same path into a file.
    const auto file = folder / "disk.raw";
    TScopedEnv driver("SDL_AUDIODRIVER", "disk"), into("SDL_DISKAUDIOFILE", file.string());
    PlayTone([&] { return Size(file) > 2 * kEnoughBytes; });
    ExpectTone(file);
    return;
  }
  TScopedEnv driver("SDL_AUDIODRIVER", "pulseaudio"), server("PULSE_SERVER", "unix:" + socket.string());
  const auto recording = folder / "monitor.raw";
  PlayTone([&] {
    // Recorded from the sink's monitor once the tone plays.
    if (recorder < 0) {
      recorder = Spawn("parec -d kivsink.monitor --format=s16le --rate=44100 --channels=2 --raw >" +
                       recording.string());
    }
    return Size(recording) > 2 * kEnoughBytes;
  });
  End(recorder);
  recorder = -1;
  ExpectTone(recording);
}

TEST_F(SdlAudioOutput, TheDiskDriverPlaysTheSamePathIntoAFile) {
  const auto file = folder / "disk.raw";
  TScopedEnv driver("SDL_AUDIODRIVER", "disk"), into("SDL_DISKAUDIOFILE", file.string());
  PlayTone([&] { return Size(file) > 2 * kEnoughBytes; });
  ExpectTone(file);
}

}  // namespace
}  // namespace kiv
