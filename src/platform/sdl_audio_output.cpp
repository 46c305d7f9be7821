#include "platform/sdl_audio_output.h"

#include <SDL2/SDL_audio.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>

namespace kiv {

namespace {

// SDL's audio driver is started with the first output and ended with the last; the
// rest of SDL (video, events) is the window's business and stays out of it.
std::mutex gDriverLock;
int gDriverUsers = 0;

// Whether the kernel knows a sound card. Without one only sound servers are tried: the
// drivers that talk to cards (ALSA and those over it) would only complain on standard
// error.
bool AlsaHasCard() {
  std::ifstream cards("/proc/asound/cards");
  std::string line;
  if (!cards || !std::getline(cards, line)) return false;
  return line.find("no soundcards") == std::string::npos;
}

// The driver SDL_AUDIODRIVER names, or else the first of SDL's that starts.
bool InitDriver() {
  const char* chosen = std::getenv("SDL_AUDIODRIVER");
  if (chosen && *chosen) return SDL_AudioInit(nullptr) == 0;
  const bool alsa = AlsaHasCard();  // a card to play on without a server
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
    const std::string name = SDL_GetAudioDriver(i);
    const bool server = name == "pulseaudio" || name == "pipewire";
    if (name == "dummy" || name == "disk" || (!server && !alsa)) continue;
    if (SDL_AudioInit(name.c_str()) == 0) return true;
  }
  SDL_SetError("no sound server or card");
  return false;
}

bool StartDriver(std::string& reason) {
  std::lock_guard lock(gDriverLock);
  if (gDriverUsers == 0 && !InitDriver()) {
    reason = std::string("SDL audio: ") + SDL_GetError();
    return false;
  }
  ++gDriverUsers;
  return true;
}

void EndDriver() {
  std::lock_guard lock(gDriverLock);
  if (--gDriverUsers == 0) SDL_AudioQuit();
}

// Frames SDL asks for at a time: about 23 ms, short enough for fades to be heard
// where they are written.
constexpr uint16_t kPeriodFrames = 1024;

class TSdlAudioOutput : public IAudioOutput {
 public:
  TSdlAudioOutput(SDL_AudioDeviceID device, std::string driver) : FDevice(device), FDriver(std::move(driver)) {}

  ~TSdlAudioOutput() override {
    if (FDevice == 0) return;  // never opened
    Stop();
    SDL_CloseAudioDevice(FDevice);
    EndDriver();
  }

  std::string Describe() const override { return "sdl:" + FDriver; }

  bool Start(TAudioPull pull) override {
    SDL_LockAudioDevice(FDevice);
    FPull = std::move(pull);
    SDL_UnlockAudioDevice(FDevice);
    SDL_PauseAudioDevice(FDevice, 0);
    return true;
  }

  void Stop() override {
    // Once the device's lock is ours the callback is not running, and with no pull it
    // writes silence from then on.
    SDL_LockAudioDevice(FDevice);
    FPull = nullptr;
    SDL_UnlockAudioDevice(FDevice);
    SDL_PauseAudioDevice(FDevice, 1);
  }

  uint64_t FramesPlayed() const override { return FFrames.load(); }

  // Runs on SDL's audio thread.
  static void Callback(void* self, Uint8* stream, int bytes) {
    auto& output = *static_cast<TSdlAudioOutput*>(self);
    const size_t frames = size_t(bytes) / kOutputFrameBytes;
    if (output.FPull) {
      output.FPull(reinterpret_cast<int16_t*>(stream), frames);
    } else {
      std::memset(stream, 0, size_t(bytes));
    }
    output.FFrames.fetch_add(frames);
  }

  void SetDevice(SDL_AudioDeviceID device) { FDevice = device; }

 private:
  SDL_AudioDeviceID FDevice;
  std::string FDriver;
  TAudioPull FPull;  // guarded by the device's lock
  std::atomic<uint64_t> FFrames{0};
};

}  // namespace

std::unique_ptr<IAudioOutput> MakeSdlAudioOutput(std::string& reason) {
  if (!StartDriver(reason)) return nullptr;
  const char* driver = SDL_GetCurrentAudioDriver();
  if (!driver || std::strcmp(driver, "dummy") == 0) {
    reason = "SDL audio: no sound driver";
    EndDriver();
    return nullptr;
  }
  auto output = std::make_unique<TSdlAudioOutput>(0, driver);
  SDL_AudioSpec wanted{};
  wanted.freq = int(kOutputRate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = uint8_t(kOutputChannels);
  wanted.samples = kPeriodFrames;
  wanted.callback = &TSdlAudioOutput::Callback;
  wanted.userdata = output.get();
  SDL_AudioSpec obtained{};
  // Whatever the device plays, SDL converts our format to it.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    reason = std::string("SDL audio (") + driver + "): " + SDL_GetError();
    output.reset();  // never opened: its destructor leaves SDL alone
    EndDriver();
    return nullptr;
  }
  output->SetDevice(device);
  return output;
}

}  // namespace kiv
