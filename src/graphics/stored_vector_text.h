#pragma once
// The stored form of a laid-out text, kept in a show under "VectTxt2: " + font + ":" +
// style + ":" + quoted text: line count, ascent, descent (int32), underline position
// and size, strike-out position and size (float), then per line its glyph count (int32)
// and per glyph pen x (int32), size (float), glyph index (u16) and font name with style
// (int32 count and UTF-16 units); little-endian throughout.
#include <optional>

#include "base/stream.h"
#include "graphics/vector_text.h"

namespace kiv {

inline constexpr int32_t kMaxStoredTextLines = 10000;

// None when the stream is short or a count is out of range.
std::optional<TVectorTextData> ReadStoredVectorText(TStream& stream);
void WriteStoredVectorText(TStream& stream, const TVectorText& text);
void WriteStoredVectorText(TStream& stream, const TVectorTextData& data);

}  // namespace kiv
