#include "music/music_options_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "base/log.h"
#include "base/text.h"
#include "ini/ini_values.h"
#include "sound/composite_params.h"

namespace kiv {

namespace {

// Random keys are drawn from 1 … kMaxRandomKey; 0 marks a slot not drawn yet.
constexpr uint32_t kMaxRandomKey = 16776960;
// "VolumeParams" positions are samples at this rate; levels are 16.16 fixed point.
constexpr double kVolumeParamsRate = 44100;
constexpr double kVolumeParamsUnity = 65536;
constexpr int32_t kUnity = 1000;

int32_t Clamp32(int64_t value) {
  return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t Round32(double value) {
  if (!(value == value)) return 0;  // NaN
  return int32_t(std::clamp(std::round(value), double(std::numeric_limits<int32_t>::min()),
                            double(std::numeric_limits<int32_t>::max())));
}

std::u16string_view TrimBlanks(std::u16string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

void LogEntry(const TIniObject& object, std::u16string_view what) {
  Log().Write(u"Music: \"" + object.GetName() + u"\" " + std::u16string(what));
}

// The keys shared by a music item and a sound comment.
struct TSoundKeys {
  std::u16string FileName;
  int64_t StartTime = 0;
  int64_t Duration = 0;
  int64_t CrossMode = 0;
  int64_t Cross = 0;
  int64_t Pause = 0;
  int64_t FadeIn = 0;
  int64_t FadeOut = 0;
  int64_t Volume = kUnity;  // thousandths
  std::u16string VolumeParams;
};

TSoundKeys ReadSoundKeys(const TIniIdentList& object) {
  TSoundKeys keys;
  keys.FileName = object.ReadString(u"FileName", u"");
  keys.StartTime = object.ReadInteger(u"StartTime", 0);
  keys.Duration = std::max<int64_t>(object.ReadInteger(u"Duration", 0), 0);
  keys.CrossMode = object.ReadInteger(u"CrossMode", 0);
  keys.Cross = object.ReadInteger(u"Cross", 0);
  keys.Pause = object.ReadInteger(u"Pause", 0);
  keys.FadeIn = object.ReadInteger(u"FadeIn", 0);
  keys.FadeOut = object.ReadInteger(u"FadeOut", 0);
  // A negative level would end the envelope's points when the composite is read back.
  keys.Volume = std::max<int64_t>(object.ReadInteger(u"Volume", 100), 0) * 10;
  keys.VolumeParams = object.ReadString(u"VolumeParams", u"");
  return keys;
}

bool CrossesIn(const TSoundKeys& keys) { return keys.CrossMode == 0 && keys.Cross > 0; }

TVolumeParams& AddEnvelope(TCompositeItem& item) { return item.Envelopes.Add(); }

// The fades and level of a sound: a fade in over the first fadeIn ms, a fade out that
// ends at fadeEnd, and a level held over the item's length when there is no fade.
void AddLevelEnvelope(TCompositeItem& item, const TSoundKeys& keys, int64_t fadeEnd) {
  if (keys.FadeIn <= 0 && keys.FadeOut <= 0 && keys.Volume == kUnity) return;
  TVolumeParams& level = AddEnvelope(item);
  const int32_t volume = Clamp32(keys.Volume);
  if (keys.FadeIn > 0) {
    level.AddPoint(0, 0);
    level.AddPoint(Clamp32(keys.FadeIn), volume);
  }
  if (keys.FadeOut > 0) {
    level.AddPoint(Clamp32(fadeEnd - keys.FadeOut), volume);
    level.AddPoint(Clamp32(fadeEnd), 0);
  }
  if (level.Points().empty()) {
    level.AddPoint(0, volume);
    level.AddPoint(item.Duration, volume);
  }
}

// "position:level,…" with positions in samples from the start of the file and 16.16
// levels, as points from the item's start (startTime ms into the file). False, with
// the text at fault, when an entry is not a pair of numbers.
bool ParseVolumeParams(std::u16string_view text, int64_t startTime, std::vector<TVolumeItem>& points,
                       std::u16string& badEntry) {
  for (std::u16string_view entry : SplitIniList(text)) {
    entry = TrimBlanks(entry);
    if (entry.empty()) continue;
    const size_t colon = entry.find(u':');
    if (colon == std::u16string_view::npos) {
      badEntry = entry;
      return false;
    }
    const std::u16string_view parts[] = {TrimBlanks(entry.substr(0, colon)), TrimBlanks(entry.substr(colon + 1))};
    int32_t values[2] = {};
    for (int k = 0; k < 2; ++k)
      if (!ParseIniInteger(parts[k], values[k])) {
        badEntry = parts[k];
        return false;
      }
    const int32_t position = values[0];
    const int32_t level = values[1];
    const int64_t time = int64_t(std::llround(position / kVolumeParamsRate * 1000)) - startTime;
    points.push_back({Clamp32(time), std::max(Round32(level / kVolumeParamsUnity * kUnity), 0)});
  }
  return true;
}

// The "VolumeParams" envelope of the sound; an envelope with a bad entry is left out.
void AddVolumeParams(TCompositeItem& item, const TIniObject& object, const TSoundKeys& keys) {
  if (TrimBlanks(keys.VolumeParams).empty()) return;
  std::vector<TVolumeItem> points;
  std::u16string badEntry;
  if (!ParseVolumeParams(keys.VolumeParams, keys.StartTime, points, badEntry)) {
    LogEntry(object,
             u"\"VolumeParams\": \"" + badEntry + u"\" is not a valid integer value; that envelope is left out");
    return;
  }
  if (points.empty()) return;
  TVolumeParams& envelope = AddEnvelope(item);
  for (const TVolumeItem& point : points) envelope.AddPoint(point.Time, point.Volume);
}

bool NamesSoundComment(std::u16string_view fileName) { return !fileName.empty() && fileName != u"error"; }

// The objects of a "music" object in tree order: tracks (which open a new track and
// whose children follow them) and items, with the last options and sound comment.
struct TMusicTree {
  struct TEntry {
    const TIniObject* Object = nullptr;
    bool Track = false;
    TSoundKeys Keys;  // items only
    uint32_t Key = 0;
  };
  std::vector<TEntry> Entries;
  const TIniObject* Options = nullptr;
  const TIniObject* Comment = nullptr;
};

TMusicTree WalkMusic(const TIniIdentList& music, bool readItems) {
  TMusicTree tree;
  WalkObjectsBelow(music, [&](const TIniObject& object) {
    if (IsObjectOfClass(object, u"tmusictrack")) {
      tree.Entries.push_back({&object, true, {}, 0});
      return true;
    }
    if (IsObjectOfClass(object, u"tmusicitem")) {
      tree.Entries.push_back({&object, false, readItems ? ReadSoundKeys(object) : TSoundKeys(), 0});
    } else if (IsObjectOfClass(object, u"tmusicoptions")) {
      tree.Options = &object;
    } else if (IsObjectOfClass(object, u"tsoundcomment")) {
      tree.Comment = &object;
    }
    return false;
  });
  return tree;
}

}  // namespace

bool IsObjectOfClass(const TIniObject& object, std::u16string_view className) {
  return SameTextIgnoringCase(object.GetValue(), className);
}

void WalkObjectsBelow(const TIniIdentList& list, const std::function<bool(const TIniObject&)>& visit) {
  struct TLevel {
    const TIniIdentList* List;
    const TIniObject* Next;
  };
  std::vector<TLevel> levels{{&list, list.FirstObject()}};
  while (!levels.empty()) {
    TLevel& level = levels.back();
    const TIniObject* object = level.Next;
    if (!object) {
      levels.pop_back();
      continue;
    }
    level.Next = level.List->NextObject(object);
    if (visit(*object)) levels.push_back({object, object->FirstObject()});
  }
}

const TIniObject* FindChildObject(const TIniIdentList& list, std::u16string_view className) {
  for (const TIniObject* object = list.FirstObject(); object; object = list.NextObject(object))
    if (IsObjectOfClass(*object, className)) return object;
  return nullptr;
}

bool HasSoundCommentFile(const TIniIdentList& music) {
  const TMusicTree tree = WalkMusic(music, false);
  return tree.Comment && NamesSoundComment(tree.Comment->ReadString(u"FileName", u""));
}

uint32_t TMusicOptionsReader::NextRandomKey() {
  uint32_t& key = FRandomKeys[FKeyCounter++ % FRandomKeys.size()];
  if (key == 0) key = 1 + FRandom.Random(kMaxRandomKey);
  return key;
}

void TMusicOptionsReader::Read(const TIniIdentList* music, std::span<const TExtraMusicItem> extras, bool disableRandom,
                               int lastExtraIndex) {
  const size_t extraCount = size_t(std::clamp<int64_t>(int64_t(lastExtraIndex) + 1, 0, int64_t(extras.size())));
  const TIniObject* comment = nullptr;
  if (music) {
    ReadMusic(*music, disableRandom);
    comment = WalkMusic(*music, false).Comment;
  } else {
    FMusicText.clear();
    FMusicDuration = 0;
    FRepeat = false;
    FMuteVolume = 100;
  }
  ReadSoundComment(comment, extras.first(extraCount));
}

void TMusicOptionsReader::ReadMusic(const TIniIdentList& music, bool disableRandom) {
  TMusicTree tree = WalkMusic(music, true);
  FRepeat = false;
  FMuteVolume = 100;
  if (tree.Options) {
    FRepeat = tree.Options->ReadInteger(u"IsRepeat", 0) > 0;
    FMuteVolume = tree.Options->ReadInteger(u"IsMute", 0) > 0 ? tree.Options->ReadInteger(u"MuteVolume", 100) : 100;
  }

  // The items of a random track play in the order of their keys.
  FKeyCounter = 0;
  auto& entries = tree.Entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].Track || disableRandom || entries[i].Object->ReadInteger(u"IsRandom", 0) <= 0) continue;
    size_t end = i + 1;
    for (; end < entries.size() && !entries[end].Track; ++end) entries[end].Key = NextRandomKey();
    std::stable_sort(entries.begin() + ptrdiff_t(i) + 1, entries.begin() + ptrdiff_t(end),
                     [](const auto& a, const auto& b) { return a.Key < b.Key; });
  }

  TCompositeParams composite;
  int64_t position = 0;
  int64_t trackLength = 0;
  int64_t longest = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].Track) {
      longest = std::max(longest, trackLength);
      position = trackLength = 0;
      continue;
    }
    const TIniObject& object = *entries[i].Object;
    const TSoundKeys& keys = entries[i].Keys;
    const bool first = trackLength == 0;
    if (keys.CrossMode == 1 && keys.Pause > 0) {
      position += keys.Pause;
      trackLength += keys.Pause;
    }
    TCompositeItem item;
    item.FileName = keys.FileName;
    item.TimeLine = Clamp32(position);
    item.BeginTime = Clamp32(keys.StartTime);
    item.Duration = Clamp32(keys.Duration);
    AddLevelEnvelope(item, keys, keys.Duration);

    std::optional<size_t> cross;
    if (CrossesIn(keys)) {
      cross = item.Envelopes.Count();
      TVolumeParams& envelope = AddEnvelope(item);
      envelope.AddPoint(0, 0);
      envelope.AddPoint(Clamp32(keys.Cross), kUnity);
      if (!first) {
        // The item starts under the end of the one before; a long cross stops at the track's start.
        position = std::max<int64_t>(position - keys.Cross, 0);
        trackLength = std::max<int64_t>(trackLength - keys.Cross, 0);
        item.TimeLine = Clamp32(std::max<int64_t>(item.TimeLine - keys.Cross, 0));
      }
    }
    if (i + 1 < entries.size() && !entries[i + 1].Track && CrossesIn(entries[i + 1].Keys)) {
      if (!cross) {
        cross = item.Envelopes.Count();
        AddEnvelope(item);
      }
      TVolumeParams& envelope = item.Envelopes[*cross];
      envelope.AddPoint(Clamp32(keys.Duration - entries[i + 1].Keys.Cross), kUnity);
      envelope.AddPoint(item.Duration, 0);
    }
    AddVolumeParams(item, object, keys);
    position += keys.Duration;
    trackLength += keys.Duration;

    // A silent item keeps its time in the track; an item without a file would end the
    // composite's item list where it stands.
    if (keys.FileName.empty()) {
      LogEntry(object, u"names no file; it is left out");
      continue;
    }
    if (keys.Volume == 0 || keys.Duration == 0) continue;
    composite.Items.push_back(std::move(item));
  }
  longest = std::max(longest, trackLength);
  composite.Duration = composite.Items.empty() ? 0 : Clamp32(longest);
  FMusicDuration = composite.Duration;
  FMusicText = composite.ToText();
}

void TMusicOptionsReader::ReadSoundComment(const TIniObject* comment, std::span<const TExtraMusicItem> extras) {
  TCompositeParams composite;
  int64_t duration = 0;
  const std::u16string fileName = comment ? comment->ReadString(u"FileName", u"") : u"";
  if (NamesSoundComment(fileName)) {
    const TSoundKeys keys = ReadSoundKeys(*comment);
    const int64_t pause = std::max<int64_t>(keys.Pause, 0);
    const int64_t full = keys.Duration + pause;
    const int64_t length = FLengthLimit > 0 && FLengthLimit < full ? FLengthLimit : full;
    TCompositeItem item;
    item.FileName = fileName;
    item.TimeLine = Clamp32(pause);
    item.BeginTime = Clamp32(keys.StartTime);
    item.Duration = Clamp32(length);
    // The composite ends at length, so after the pause only length - pause of the item
    // is heard: the fade out ends there.
    AddLevelEnvelope(item, keys, std::max<int64_t>(length - pause, 0));
    AddVolumeParams(item, *comment, keys);
    composite.Items.push_back(std::move(item));
    duration = length;
  }
  for (const TExtraMusicItem& extra : extras) {
    if (extra.FileName.empty() || extra.Duration <= 0) continue;
    TCompositeItem item;
    item.FileName = extra.FileName;
    item.TimeLine = extra.TimeLine;
    item.BeginTime = extra.BeginTime;
    item.Duration = extra.Duration;
    if (extra.Volume != 1.0) {
      const int32_t volume = std::max(Round32(extra.Volume * kUnity), 0);
      TVolumeParams& level = AddEnvelope(item);
      level.AddPoint(0, volume);
      level.AddPoint(item.Duration, volume);
    }
    duration = std::max(duration, int64_t(item.End()));
    composite.Items.push_back(std::move(item));
  }
  composite.Duration = composite.Items.empty() ? 0 : Clamp32(duration);
  FCommentDuration = composite.Duration;
  FCommentText = composite.ToText();
}

}  // namespace kiv
