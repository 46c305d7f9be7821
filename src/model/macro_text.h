#pragma once
// Macros in the text of a text object: fixed words between "<%" and "%>", such as
// "<%SlideIndex%>" or "<%MainImg.IPTC.City%>", replaced by facts about the slide and
// its main picture when the text is rendered.
#include <cstddef>
#include <string>
#include <string_view>

#include "model/macro_values.h"

namespace kiv {

// Expansion stops growing a text at this many code units: values that hold further
// macros could otherwise multiply it without bound.
inline constexpr size_t kMaxExpandedText = size_t(1) << 16;

class TMTParser {
 public:
  // The text with every macro replaced, found in any case. The macros asked of values
  // go first, in a fixed order, then the ones computed from the picture's file name and
  // date-time. A value is asked only when its macro occurs, and at most once; the search
  // goes on after an inserted value, so a value that holds its own macro stays as it
  // is, while one holding a macro replaced later is expanded too. An empty result is
  // one blank, so that the text still has a line to render.
  static std::u16string Expand(std::u16string_view text, IMacroValues& values);
};

}  // namespace kiv
