#pragma once
// One clip of the show's clip registry (the "videoclip" children of the "VideoBoss"
// object of section "main"): every video object naming its "ClipGUID" plays it with the
// clip's keys, so that a clip shown on consecutive slides runs on instead of starting
// again.
#include <cstdint>
#include <string>

#include "ini/ini_ident_list.h"

namespace kiv {

struct TVideoKeys {
  std::u16string ClipGuid;
  std::u16string FileName;
  bool LoadFromDisk = false;
  bool Mute = false;
  double Duration = 0;        // ms; outside 0 … the file's length it is the length
  double StartVideoTime = 0;  // ms into the file; outside 0 … length it is 0
  double StartKivTime = 0;    // ms on the slide's time line
};

// The keys above from an object or clip section.
TVideoKeys ReadVideoKeys(const TIniIdentList& section);

class TVideoClip2 {
 public:
  explicit TVideoClip2(const TIniIdentList& clip);

  const TVideoKeys& Keys() const { return FKeys; }
  const std::u16string& Caption() const { return FCaption; }
  int32_t StartSlideIdx() const { return FStartSlideIdx; }
  const std::u16string& MasterId() const { return FMasterId; }
  // Where the clip starts on the show clock: the start of the first slide that shows it
  // (as its sound is laid into the show); none until a slide showing it is known.
  bool HasStart() const { return FHasStart; }
  double StartTime() const { return FStartTime; }
  // A slide starting at start shows the clip; the earliest counts.
  void ShownFrom(double start);

 private:
  TVideoKeys FKeys;
  std::u16string FCaption;
  int32_t FStartSlideIdx = 0;
  std::u16string FMasterId;
  bool FHasStart = false;
  double FStartTime = 0;
};

}  // namespace kiv
