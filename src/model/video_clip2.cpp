#include "model/video_clip2.h"

#include <algorithm>

namespace kiv {

TVideoKeys ReadVideoKeys(const TIniIdentList& section) {
  TVideoKeys keys;
  keys.ClipGuid = section.ReadString(u"ClipGUID", u"");
  keys.FileName = section.ReadString(u"FileName", u"");
  keys.LoadFromDisk = section.ReadBool(u"LoadFromDisk", false);
  keys.Mute = section.ReadBool(u"Mute", false);
  keys.Duration = section.ReadFloat(u"Duration", 0);
  keys.StartVideoTime = section.ReadFloat(u"StartVideoTime", 0);
  keys.StartKivTime = section.ReadFloat(u"StartKIVTime", 0);
  return keys;
}

TVideoClip2::TVideoClip2(const TIniIdentList& clip)
    : FKeys(ReadVideoKeys(clip)),
      FCaption(clip.ReadString(u"ClipCaption", u"")),
      FStartSlideIdx(clip.ReadInteger(u"StartSlideIdx", 0)),
      FMasterId(clip.ReadString(u"MasterID", u"")) {}

void TVideoClip2::ShownFrom(double start) {
  FStartTime = FHasStart ? std::min(FStartTime, start) : start;
  FHasStart = true;
}

}  // namespace kiv
