#include "platform/audio_output.h"

#include <map>
#include <mutex>

#include "platform/sdl_audio_output.h"
#include "platform/virtual_audio_output.h"

namespace kiv {

namespace {

struct TRegistry {
  std::mutex Lock;
  std::map<std::string, TAudioOutputFactory, std::less<>> Factories;

  TRegistry() {
    Factories["sdl"] = [](std::string& reason) { return MakeSdlAudioOutput(reason); };
    Factories["virtual"] = [](std::string&) -> std::unique_ptr<IAudioOutput> {
      return std::make_unique<TVirtualAudioOutput>();
    };
  }
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

void RegisterAudioOutput(std::string name, TAudioOutputFactory factory) {
  std::lock_guard lock(Registry().Lock);
  Registry().Factories[std::move(name)] = std::move(factory);
}

std::vector<std::string> AudioOutputNames() {
  std::lock_guard lock(Registry().Lock);
  std::vector<std::string> names;
  for (const auto& [name, factory] : Registry().Factories) names.push_back(name);
  return names;
}

std::unique_ptr<IAudioOutput> OpenAudioOutput(std::string_view name, std::string* reason) {
  if (name.empty()) name = "sdl";
  TAudioOutputFactory factory;
  {
    std::lock_guard lock(Registry().Lock);
    auto found = Registry().Factories.find(name);
    if (found != Registry().Factories.end()) factory = found->second;
  }
  if (!factory) {
    if (reason) *reason = "no sound output called " + std::string(name);
    return nullptr;
  }
  std::string failure;
  auto output = factory(failure);
  if (!output && reason) *reason = failure.empty() ? "no sound device" : failure;
  return output;
}

}  // namespace kiv
