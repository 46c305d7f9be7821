#pragma once
// What the video objects of one slide host share: the show's clip registry, the clip
// files opened (one per file name, while some object shows it), and how long the
// drawing waits for a frame that is late.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <unordered_map>

#include "ini/ini_ident_list.h"
#include "model/extractor_wrapper.h"
#include "model/slide_info.h"
#include "model/video_clip2.h"

namespace kiv {

class TFileAccessor;

// The drawing thread's wait for a frame the player is late with: one frame of a 60 Hz
// display. A late frame shows the frame before it.
inline constexpr uint32_t kPlayerFrameWaitMs = 16;
// Rendering offline waits for every frame (bounded all the same, so that a decoder that
// hangs cannot stop the renderer).
inline constexpr uint32_t kExactFrameWaitMs = 20000;

class TVideoClips {
 public:
  // Reads the registry of main ("VideoBoss"), and from the slides (their sections and
  // records in play order; a missing section is skipped) where each clip first shows.
  void ReadClips(const TIniIdentList& main, std::span<const TIniIdentList* const> slides,
                 std::span<const TSlideInfo> timing);
  // The clip of guid (any case), or none.
  const TVideoClip2* Clip(std::u16string_view guid) const;

  // The opened file of name, shared while anyone holds it; opened now when no one does.
  std::shared_ptr<TExtractorWrapper> Wrapper(const TFileAccessor* accessor, const std::u16string& name,
                                             bool fromDisk);

  uint32_t FrameWaitMs() const { return FFrameWaitMs; }
  void SetFrameWaitMs(uint32_t ms) { FFrameWaitMs = ms; }

 private:
  std::unordered_map<std::u16string, TVideoClip2> FClips;  // by lower-cased GUID
  std::mutex FLock;
  std::map<std::pair<std::u16string, bool>, std::weak_ptr<TExtractorWrapper>> FWrappers;
  uint32_t FFrameWaitMs = kPlayerFrameWaitMs;
};

}  // namespace kiv
