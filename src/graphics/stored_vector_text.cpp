#include "graphics/stored_vector_text.h"

#include "graphics/binary_reader.h"
#include "graphics/binary_writer.h"
#include "graphics/picture_stream_bytes.h"

namespace kiv {

namespace {

// The bytes of a glyph pointer with an empty font name with style.
constexpr size_t kPointerBytes = 4 + 4 + 2 + 4;

}  // namespace

std::optional<TVectorTextData> ReadStoredVectorText(TStream& stream) {
  const std::vector<uint8_t> bytes = ReadRemainingBytes(stream);
  TBinaryReader in(bytes);
  TVectorTextData data;
  const int32_t lineCount = in.Int32();
  data.Metrics.Ascent = in.Int32();
  data.Metrics.Descent = in.Int32();
  data.Metrics.UnderlinePosition = in.Float();
  data.Metrics.UnderlineSize = in.Float();
  data.Metrics.StrikeoutPosition = in.Float();
  data.Metrics.StrikeoutSize = in.Float();
  if (lineCount < 0 || lineCount > kMaxStoredTextLines || size_t(lineCount) > in.Left() / 4) in.Fail();
  if (in.Failed()) return std::nullopt;
  data.Lines.resize(size_t(lineCount));
  for (TGlyphLine& line : data.Lines) {
    const int32_t glyphCount = in.Int32();
    if (glyphCount < 0 || size_t(glyphCount) > in.Left() / kPointerBytes) return std::nullopt;
    line.Glyphs.resize(size_t(glyphCount));
    for (TGlyphPointer& glyph : line.Glyphs) {
      glyph.PenX = in.Int32();
      glyph.Size = in.Float();
      glyph.Index = in.UInt16();
      glyph.FontSpec = in.Text(kMaxFontSpecUnits);
    }
    if (in.Failed()) return std::nullopt;
  }
  return data;
}

void WriteStoredVectorText(TStream& stream, const TVectorText& text) { WriteStoredVectorText(stream, text.Data()); }

void WriteStoredVectorText(TStream& stream, const TVectorTextData& data) {
  TBinaryWriter out(stream);
  out.Int32(int32_t(data.Lines.size()));
  out.Int32(data.Metrics.Ascent);
  out.Int32(data.Metrics.Descent);
  out.Float(data.Metrics.UnderlinePosition);
  out.Float(data.Metrics.UnderlineSize);
  out.Float(data.Metrics.StrikeoutPosition);
  out.Float(data.Metrics.StrikeoutSize);
  for (const TGlyphLine& line : data.Lines) {
    out.Int32(int32_t(line.Glyphs.size()));
    for (const TGlyphPointer& glyph : line.Glyphs) {
      out.Int32(glyph.PenX);
      out.Float(glyph.Size);
      out.UInt16(glyph.Index);
      out.Text(glyph.FontSpec);
    }
  }
}

}  // namespace kiv
