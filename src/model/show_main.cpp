#include "model/show_main.h"

#include "base/log.h"

namespace kiv {

TIniSection* FindMainSection(const TIniStorage& document) { return document.FindSection(u"main"); }

int ReadSlideCount(const TIniIdentList& main) {
  const int32_t count = main.ReadInteger(u"opt_slidescount", 0);
  if (count <= 0) return 0;
  if (count > kMaxSlideCount) {
    Log().WriteValue("Show slide count capped at " + std::to_string(kMaxSlideCount) + ", project gives ", int64_t(count));
    return kMaxSlideCount;
  }
  return count;
}

}  // namespace kiv
