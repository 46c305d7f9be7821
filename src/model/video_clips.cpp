#include "model/video_clips.h"

#include "base/text.h"
#include "ini/ini_sections.h"

namespace kiv {

namespace {

bool IsObjectOfClass(const TIniObject& object, std::u16string_view kind) {
  return SameTextIgnoringCase(object.GetValue(), kind);
}

// Calls found for each video object below list (keypoints are not searched), to a depth
// that a broken project cannot make exhaust the stack.
template <typename TFound>
void ForEachVideoBelow(const TIniIdentList& list, TFound found, int depth = 0) {
  if (depth > 64) return;
  for (const TIniObject* object = list.FirstObject(); object; object = list.NextObject(object)) {
    if (IsObjectOfClass(*object, u"keypoint")) continue;
    if (IsObjectOfClass(*object, u"video") || IsObjectOfClass(*object, u"mainvideo")) found(*object);
    ForEachVideoBelow(*object, found, depth + 1);
  }
}

const TIniObject* FindVideoBoss(const TIniIdentList& main) {
  for (const TIniObject* object = main.FirstObject(); object; object = main.NextObject(object))
    if (IsObjectOfClass(*object, u"VideoBoss") || SameTextIgnoringCase(object->GetName(), u"VideoBoss")) return object;
  return nullptr;
}

}  // namespace

void TVideoClips::ReadClips(const TIniIdentList& main, std::span<const TIniIdentList* const> slides,
                            std::span<const TSlideInfo> timing) {
  FClips.clear();
  if (const TIniObject* boss = FindVideoBoss(main))
    for (const TIniObject* clip = boss->FirstObject(); clip; clip = boss->NextObject(clip)) {
      const std::u16string guid = clip->ReadString(u"ClipGUID", u"");
      if (IsObjectOfClass(*clip, u"videoclip") && !guid.empty()) FClips.emplace(LowerCase(guid), TVideoClip2(*clip));
    }
  if (FClips.empty()) return;
  for (size_t i = 0; i < slides.size() && i < timing.size(); ++i) {
    if (!slides[i]) continue;
    ForEachVideoBelow(*slides[i], [&](const TIniObject& object) {
      const auto clip = FClips.find(LowerCase(object.ReadString(u"ClipGUID", u"")));
      if (clip != FClips.end()) clip->second.ShownFrom(timing[i].StartTime);
    });
  }
}

const TVideoClip2* TVideoClips::Clip(std::u16string_view guid) const {
  if (guid.empty()) return nullptr;
  const auto found = FClips.find(LowerCase(std::u16string(guid)));
  return found == FClips.end() ? nullptr : &found->second;
}

std::shared_ptr<TExtractorWrapper> TVideoClips::Wrapper(const TFileAccessor* accessor, const std::u16string& name,
                                                        bool fromDisk) {
  std::lock_guard lock(FLock);
  std::weak_ptr<TExtractorWrapper>& slot = FWrappers[{LowerCase(name), fromDisk}];
  std::shared_ptr<TExtractorWrapper> wrapper = slot.lock();
  if (!wrapper) {
    wrapper = std::make_shared<TExtractorWrapper>(accessor, name, fromDisk);
    slot = wrapper;
  }
  return wrapper;
}

}  // namespace kiv
