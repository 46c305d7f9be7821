#include "music/video_sound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "base/text.h"

namespace kiv {

namespace {

constexpr std::u16string_view kLoadFromDisk = u"LoadFromDisk:";

int32_t RoundMs(double ms) {
  if (!(ms == ms)) return 0;  // NaN
  return int32_t(std::clamp(std::round(ms), double(std::numeric_limits<int32_t>::min()),
                            double(std::numeric_limits<int32_t>::max())));
}

bool IsVideo(const TIniObject& object) {
  return IsObjectOfClass(object, u"video") || IsObjectOfClass(object, u"mainvideo");
}

// Every video object below list at any depth; keypoints are not searched.
std::vector<const TIniObject*> VideosBelow(const TIniIdentList& list) {
  std::vector<const TIniObject*> videos;
  WalkObjectsBelow(list, [&videos](const TIniObject& object) {
    if (IsObjectOfClass(object, u"keypoint")) return false;
    if (IsVideo(object)) videos.push_back(&object);
    return true;
  });
  return videos;
}

const TIniObject* FindVideoBoss(const TIniIdentList& main) {
  for (const TIniObject* object = main.FirstObject(); object; object = main.NextObject(object))
    if (IsObjectOfClass(*object, u"VideoBoss") || SameTextIgnoringCase(object->GetName(), u"VideoBoss")) return object;
  return nullptr;
}

}  // namespace

TSlideVideoSound::TSlideVideoSound(const TIniIdentList& main, std::span<const TIniSection* const> slides,
                                   std::span<const TSlideInfo> timing)
    : FTiming(timing) {
  if (const TIniObject* boss = FindVideoBoss(main))
    for (const TIniObject* clip = boss->FirstObject(); clip; clip = boss->NextObject(clip)) {
      const std::u16string guid = clip->ReadString(u"ClipGUID", u"");
      if (IsObjectOfClass(*clip, u"videoclip") && !guid.empty()) FClips.emplace(LowerCase(guid), clip);
    }
  FVideos.resize(slides.size());
  for (size_t i = 0; i < slides.size() && i < timing.size(); ++i) {
    if (!slides[i]) continue;
    FVideos[i] = VideosBelow(*slides[i]);
    for (const TIniObject* video : FVideos[i]) {
      const std::u16string key = LowerCase(video->ReadString(u"ClipGUID", u""));
      if (!Clip(key)) continue;
      auto [shown, added] = FFirstShown.emplace(key, timing[i].StartTime);
      if (!added) shown->second = std::min(shown->second, timing[i].StartTime);
    }
  }
}

const TIniObject* TSlideVideoSound::Clip(const std::u16string& key) const {
  if (key.empty()) return nullptr;
  const auto found = FClips.find(key);
  return found == FClips.end() ? nullptr : found->second;
}

TExtraMusicItemArray TSlideVideoSound::ExtrasOf(size_t index) const {
  TExtraMusicItemArray extras;
  if (index >= FVideos.size() || index >= FTiming.size()) return extras;
  const TSlideInfo& slide = FTiming[index];
  // The slide is on the screen until its transition into the next slide has ended.
  const double windowLength = slide.TotalEnd - slide.StartTime;
  std::unordered_set<std::u16string> taken;
  for (const TIniObject* video : FVideos[index]) {
    const std::u16string key = LowerCase(video->ReadString(u"ClipGUID", u""));
    const TIniObject* clip = Clip(key);
    // A registry clip brings its own keys in place of the object's.
    const TIniIdentList& keys = clip ? static_cast<const TIniIdentList&>(*clip) : *video;
    bool mute = keys.ReadBool(u"Mute", false);
    const double start = keys.ReadFloat(u"StartKIVTime", 0);
    double duration = keys.ReadFloat(u"Duration", 0);
    // No length given means the whole file: as much as the slide (or, for a clip, the
    // rest of the show) has room for; the sound ends with the file.
    if (!(duration > 0))
      duration = (clip ? FTiming.back().TotalEnd - slide.StartTime : windowLength) - start;
    if (clip) {
      // A clip that runs on from an earlier slide is heard from there, and once per slide.
      mute = mute || FFirstShown.at(key) < slide.StartTime;
      mute = !taken.insert(key).second || mute;
    } else {
      duration = std::min(duration, windowLength - start);
    }
    TExtraMusicItem extra;
    extra.FileName = keys.ReadString(u"FileName", u"");
    if (mute || extra.FileName.empty()) continue;
    if (keys.ReadBool(u"LoadFromDisk", false)) extra.FileName.insert(0, kLoadFromDisk);
    extra.TimeLine = RoundMs(start);
    extra.BeginTime = std::max(RoundMs(keys.ReadFloat(u"StartVideoTime", 0)), 0);
    extra.Duration = RoundMs(duration);
    // A video that starts before its slide is heard from the slide's start on.
    if (extra.TimeLine < 0) {
      extra.BeginTime = RoundMs(double(extra.BeginTime) - extra.TimeLine);
      extra.Duration = RoundMs(double(extra.Duration) + extra.TimeLine);
      extra.TimeLine = 0;
    }
    if (extra.Duration <= 0) continue;
    extras.push_back(std::move(extra));
  }
  return extras;
}

}  // namespace kiv
