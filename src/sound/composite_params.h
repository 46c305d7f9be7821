#pragma once
// A composite description: several sound files laid on one time line, each with a start
// on that line, an offset into its file, a length and volume envelopes, under optional
// main-volume envelopes. As text it is the composite GUID followed by an INI document;
// one text may hold several descriptions, which read as one laid end to end.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sound/media_info.h"
#include "sound/volume_params.h"

namespace kiv {

// Every composite text starts with it.
inline constexpr std::u16string_view kCompositeGuid = u"9213AB40-17BB-458F-9C4C-1806F44BEB65";
// Whether name is a composite text rather than a file name.
bool IsCompositeText(std::u16string_view name);

struct TCompositeItem {
  std::u16string FileName;  // "LoadFromDisk:" + path for a file read from disk
  int32_t TimeLine = 0;     // ms from the start of the composite
  int32_t BeginTime = 0;    // ms into the file
  int32_t Duration = 0;     // ms
  TVolumeParamsList Envelopes{true};

  int32_t End() const { return TimeLine + Duration; }
};

class TCompositeParams {
 public:
  std::vector<TCompositeItem> Items;
  int32_t Duration = 0;  // ms
  // Main-volume envelopes, times from the composite's start; none when absent.
  std::unique_ptr<TVolumeParamsList> MainVolume;

  TCompositeParams() = default;
  TCompositeParams(TCompositeParams&&) = default;
  TCompositeParams& operator=(TCompositeParams&&) = default;

  // A new item at timeLineMs; the caller fills in the rest.
  TCompositeItem& AddItem(std::u16string_view fileName, int32_t timeLineMs);
  // The main-volume list, made when there is none.
  TVolumeParamsList& MainVolumeList();

  std::u16string ToText() const;
  // Replaces this description by the one(s) in text; true when the result lasts (Duration
  // > 0) and has at least one item.
  bool FromText(std::u16string_view text);
  // A composite as media: type 9, the mix format, Duration.
  TMediaInfo MediaInfo() const;
};

}  // namespace kiv
