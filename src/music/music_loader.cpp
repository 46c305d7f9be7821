#include "music/music_loader.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <string>

#include "base/clock.h"
#include "base/file_names.h"
#include "base/file_stream.h"
#include "base/log.h"
#include "base/text.h"
#include "container/file_accessor.h"
#include "container/loose_files.h"
#include "music/kiv_channel.h"
#include "sound/channel_music.h"
#include "sound/music_player_class.h"

namespace kiv {

namespace {

constexpr std::u16string_view kFromDisk = u"LoadFromDisk:";

bool Absolute(std::u16string_view path) { return !path.empty() && (path[0] == u'/' || path[0] == u'\\'); }

// The disk file a "LoadFromDisk:" name stands for, or "".
std::string FindDiskFile(std::u16string_view path, std::u16string_view showFolder) {
  if (path.empty()) return {};
  if (Absolute(path)) {
    if (std::string found = FindLooseFile(path); !found.empty()) return found;
  } else if (!showFolder.empty()) {
    if (std::string found = FindLooseFile(std::u16string(showFolder) + std::u16string(path)); !found.empty())
      return found;
  }
  // A path written on another machine: the file of that name beside the show.
  if (showFolder.empty()) return {};
  return FindLooseFile(std::u16string(showFolder) + FileNameOf(path));
}

}  // namespace

void TPassCounter::Count() {
  {
    std::lock_guard lock(FLock);
    ++FValue;
  }
  FChanged.notify_all();
}

uint64_t TPassCounter::Value() const {
  std::lock_guard lock(FLock);
  return FValue;
}

bool TPassCounter::WaitBeyond(uint64_t after, uint32_t timeoutMs) const {
  std::unique_lock lock(FLock);
  return FChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FValue > after; });
}

TMusicLoader::TMusicLoader(TThreadEventList& playerQueue, std::shared_ptr<TMusicPlayerClass> sound,
                           std::shared_ptr<TPassCounter> passes)
    : FPlayerQueue(playerQueue), FSound(std::move(sound)), FPasses(std::move(passes)) {}

TMusicLoader::~TMusicLoader() { Stop(); }

void TMusicLoader::Stop() {
  TKivThread::Stop();
  // What is still queued is dropped, and with it the channels it holds.
  Events().Close();
}

void TMusicLoader::Create(std::shared_ptr<TKivChannel> channel) {
  Events().Post(kCreateChannel, std::make_unique<TChannelContainer>(std::move(channel)));
}

void TMusicLoader::Release(std::shared_ptr<TKivChannel> channel) {
  Events().Post(kReleaseChannel, std::make_unique<TChannelContainer>(std::move(channel)));
}

void TMusicLoader::Iteration() {
  Events().Process();
  if (FPasses) FPasses->Count();
  Clock().SleepMs(kStepMs);
}

void TMusicLoader::HandleEvent(int code, TMessageData* data) {
  auto* container = dynamic_cast<TChannelContainer*>(data);
  if (!container || !container->Channel) return;
  if (code == kCreateChannel) {
    if (!container->Channel->Cancelled()) MakeSound(*container->Channel);
    FPlayerQueue.Post(kChannelMade, std::make_unique<TChannelContainer>(std::move(container->Channel)));
  } else if (code == kReleaseChannel) {
    container->Channel.reset();
  }
}

void TMusicLoader::MakeSound(TKivChannel& channel) {
  if (!FSound) return;
  std::lock_guard lock(FLock);
  std::unique_ptr<TChannelMusic> sound;
  try {
    sound = FSound->CreateChannel(channel.Name(), channel.StartPosition());
  } catch (const std::exception& error) {
    // The channel still goes back, without sound, so that its item is not waited for.
    Log().Write(std::string("Music: ") + error.what());
  }
  if (!sound) {
    Log().Write("+++++++++++++++++++ Channel Create ERROR");
    return;
  }
  // A sound shorter than planned ends with itself.
  const double length = sound->GetLength();
  if (length > 0)
    channel.SetEndTime(std::min(channel.EndTime(), channel.StartTime() + length - channel.StartPosition()));
  channel.SetSound(std::move(sound));
}

TSoundOpener MusicFileOpener(const TFileAccessor* accessor) {
  std::shared_ptr<const TFileAccessor> show = accessor ? std::make_shared<TFileAccessor>(*accessor) : nullptr;
  return [show](std::u16string_view name) -> std::unique_ptr<TStream> {
    if (name.substr(0, kFromDisk.size()) == kFromDisk) {
      const std::string path = FindDiskFile(name.substr(kFromDisk.size()), show ? show->BaseFolder() : u"");
      if (path.empty()) return nullptr;
      try {
        return std::make_unique<TFileStream>(path, TFileMode::OpenRead);
      } catch (const EKivError&) {
        return nullptr;
      }
    }
    return show ? show->OpenStream(name) : nullptr;
  };
}

}  // namespace kiv
