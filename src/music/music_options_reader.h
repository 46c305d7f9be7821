#pragma once
// Reads the "music" objects of a show into composite texts: the music of the show or of
// a slide (tracks laid side by side from time 0, the items of a track one after another)
// and a slide's sound comment together with the sound of the slide's video clips.
#include <array>
#include <functional>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ini/ini_sections.h"
#include "model/random_source.h"

namespace kiv {

// One more sound laid into a slide's sound: the sound of a video clip.
struct TExtraMusicItem {
  std::u16string FileName;  // "LoadFromDisk:" + path for a file read from disk
  int32_t TimeLine = 0;     // ms from the start of the slide
  int32_t BeginTime = 0;    // ms into the file
  int32_t Duration = 0;     // ms
  double Volume = 1.0;      // factor; 1 is the file's own level
  bool operator==(const TExtraMusicItem&) const = default;
};
using TExtraMusicItemArray = std::vector<TExtraMusicItem>;

// Whether the kind word of object (the header's value) is className, ignoring case.
bool IsObjectOfClass(const TIniObject& object, std::u16string_view className);
// The first child object of list of that class, or none.
const TIniObject* FindChildObject(const TIniIdentList& list, std::u16string_view className);
// Visits the objects below list at any depth in tree order; visit answers whether to
// look below the object it was given. Walked with a stack of its own, since a broken
// project may nest objects very deep.
void WalkObjectsBelow(const TIniIdentList& list, const std::function<bool(const TIniObject&)>& visit);
// Whether the music object holds a sound comment that names a file.
bool HasSoundCommentFile(const TIniIdentList& music);

class TMusicOptionsReader {
 public:
  // Random tracks draw their order from random (kept, not owned).
  explicit TMusicOptionsReader(IRandomSource& random) : FRandom(random) {}

  // The longest a sound comment may last, ms; 0 for no limit.
  void SetLengthLimit(int32_t ms) { FLengthLimit = ms; }
  int32_t LengthLimit() const { return FLengthLimit; }

  // Both builds in one: the music of music (none: no music) and the sound comment it
  // holds with extras[0 … lastExtraIndex] laid in.
  void Read(const TIniIdentList* music, std::span<const TExtraMusicItem> extras, bool disableRandom,
            int lastExtraIndex);
  // The tracks of music into MusicText; "IsRandom" tracks are shuffled unless
  // disableRandom. Also reads the music options.
  void ReadMusic(const TIniIdentList& music, bool disableRandom);
  // The sound comment (a "tsoundcomment" object, or none) and extras into CommentText.
  void ReadSoundComment(const TIniObject* comment, std::span<const TExtraMusicItem> extras);

  // The music composite of the last ReadMusic; it lasts MusicDuration ms (0: no music).
  const std::u16string& MusicText() const { return FMusicText; }
  int32_t MusicDuration() const { return FMusicDuration; }
  // "IsRepeat" of the music options.
  bool Repeat() const { return FRepeat; }
  // "MuteVolume" when "IsMute" is set, else 100. Kept with the options only.
  int32_t MuteVolume() const { return FMuteVolume; }
  // The sound comment composite of the last build; it lasts CommentDuration ms (0: none).
  const std::u16string& CommentText() const { return FCommentText; }
  int32_t CommentDuration() const { return FCommentDuration; }

 private:
  // The random key of the next item of a random track: every reader hands out the same
  // keys by position, so the music of the show and of its slides shuffle alike.
  uint32_t NextRandomKey();

  IRandomSource& FRandom;
  std::array<uint32_t, 256> FRandomKeys{};
  size_t FKeyCounter = 0;
  int32_t FLengthLimit = 0;
  std::u16string FMusicText;
  int32_t FMusicDuration = 0;
  bool FRepeat = false;
  int32_t FMuteVolume = 100;
  std::u16string FCommentText;
  int32_t FCommentDuration = 0;
};

}  // namespace kiv
