#include "graphics/glyph_cache.h"

#include <cmath>

#include "graphics/binary_reader.h"
#include "graphics/binary_writer.h"
#include "graphics/picture_stream_bytes.h"

namespace kiv {

namespace {

// The bytes of a glyph record without its points, and of one point.
constexpr size_t kGlyphHeadBytes = 2 + 5 * 4 + 4 + 4;
constexpr size_t kPointBytes = 12;

bool UsableCoordinate(float v) { return std::isfinite(v) && std::fabs(v) <= kMaxOutlineCoordinate; }

bool UsableCommand(int32_t command) {
  return command == kPathMove || command == kPathLine || command == kPathQuadratic || command == kPathCubic ||
         command == kPathEndRun;
}

}  // namespace

const TGlyphData* TGlyphCache::Find(uint16_t index) const {
  const auto found = FPositions.find(index);
  return found == FPositions.end() ? nullptr : &FGlyphs[found->second];
}

bool TGlyphCache::Add(TGlyphData glyph) {
  if (!FPositions.emplace(glyph.Index, FGlyphs.size()).second) return false;
  FGlyphs.push_back(std::move(glyph));
  return true;
}

std::optional<TGlyphCache> ReadGlyphCache(TStream& stream) {
  const std::vector<uint8_t> bytes = ReadRemainingBytes(stream);
  TBinaryReader in(bytes);
  const int32_t count = in.Int32();
  TGlyphCache cache(in.Text(kMaxFontSpecUnits));
  if (count < 0 || count > kMaxCachedGlyphs || size_t(count) > in.Left() / kGlyphHeadBytes) in.Fail();
  for (int32_t i = 0; i < count && !in.Failed(); ++i) {
    TGlyphData glyph;
    glyph.Index = in.UInt16();
    glyph.A = in.Int32();
    glyph.B = in.Int32();
    glyph.C = in.Int32();
    glyph.Above = in.Int32();
    glyph.Below = in.Int32();
    glyph.CaptureSize = in.Float();
    const int32_t points = in.Int32();
    if (points < 0 || points > kMaxGlyphPoints || size_t(points) > in.Left() / kPointBytes) {
      in.Fail();
      break;
    }
    glyph.Outline.Points.resize(size_t(points));
    bool usable = true;
    for (TPathPoint& p : glyph.Outline.Points) {
      p.X = in.Float();
      p.Y = in.Float();
      p.Command = in.Int32();
      usable = usable && UsableCoordinate(p.X) && UsableCoordinate(p.Y) && UsableCommand(p.Command);
    }
    if (!usable) glyph.Outline.Points.clear();
    cache.Add(std::move(glyph));
  }
  if (in.Failed()) return std::nullopt;
  return cache;
}

void WriteGlyphCache(TStream& stream, const TGlyphCache& cache) {
  TBinaryWriter out(stream);
  out.Int32(int32_t(cache.Glyphs().size()));
  out.Text(cache.FontSpec());
  for (const TGlyphData& glyph : cache.Glyphs()) {
    out.UInt16(glyph.Index);
    for (int32_t v : {glyph.A, glyph.B, glyph.C, glyph.Above, glyph.Below}) out.Int32(v);
    out.Float(glyph.CaptureSize);
    out.Int32(int32_t(glyph.Outline.Points.size()));
    for (const TPathPoint& p : glyph.Outline.Points) {
      out.Float(p.X);
      out.Float(p.Y);
      out.Int32(p.Command);
    }
  }
}

}  // namespace kiv
