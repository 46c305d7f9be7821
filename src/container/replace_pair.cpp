#include "container/replace_pair.h"

#include "base/text.h"

namespace kiv {

TReplacePair& ReplacePair() {
  static TReplacePair pair;
  return pair;
}

std::u16string ReplacementProjectFor(std::u16string_view path) {
  const TReplacePair& pair = ReplacePair();
  if (pair.ProjectPath.empty() || !SameTextIgnoringCase(pair.ExePath, path)) return {};
  return pair.ProjectPath;
}

}  // namespace kiv
