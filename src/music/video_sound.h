#pragma once
// The sound of the video objects on a show's slides, laid into each slide's sound. A
// clip of the show's clip registry is heard from the first slide that shows it and runs
// on from there; a video of its own is cut where its slide has left the screen.
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "ini/ini_sections.h"
#include "model/slide_info.h"
#include "music/music_options_reader.h"

namespace kiv {

class TSlideVideoSound {
 public:
  // main: the show's "main" section, whose "VideoBoss" object holds the clip registry;
  // slides: the section of each slide in play order (none where it is missing); timing:
  // their records. Both are kept, not copied.
  TSlideVideoSound(const TIniIdentList& main, std::span<const TIniSection* const> slides,
                   std::span<const TSlideInfo> timing);

  // The sound of the videos of the slide at index, with times from the slide's start.
  TExtraMusicItemArray ExtrasOf(size_t index) const;

 private:
  // The registry's clip of guid (any case), or none.
  const TIniObject* Clip(const std::u16string& key) const;

  std::span<const TSlideInfo> FTiming;
  std::vector<std::vector<const TIniObject*>> FVideos;           // per slide, in tree order
  std::unordered_map<std::u16string, const TIniObject*> FClips;  // by lower-cased "ClipGUID"
  std::unordered_map<std::u16string, double> FFirstShown;        // earliest start of a slide showing the clip
};

}  // namespace kiv
