#include "platform/shaped_line.h"

#include <cmath>

#include "platform/font_matcher.h"
#include "platform/font_text.h"

namespace kiv {

namespace {

struct TRun {
  std::shared_ptr<TFreeTypeFont> Font;
  hb_script_t Script = HB_SCRIPT_COMMON;  // Common until a character of a script comes
  size_t Begin = 0, End = 0;
};

bool Neutral(hb_script_t script) {
  return script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED || script == HB_SCRIPT_UNKNOWN;
}

// Whether the character belongs with the one before it: marks, the zero-width joiner
// and non-joiner, variation selectors.
bool Joins(hb_unicode_funcs_t* unicode, char32_t character) {
  switch (hb_unicode_general_category(unicode, character)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
      return true;
    default:
      break;
  }
  return character == 0x200C || character == 0x200D || (character >= 0xFE00 && character <= 0xFE0F) ||
         (character >= 0xE0100 && character <= 0xE01EF);
}

std::vector<TRun> Runs(const std::shared_ptr<TFreeTypeFont>& font, const std::vector<char32_t>& characters) {
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::vector<TRun> runs;
  for (size_t n = 0; n < characters.size(); ++n) {
    const char32_t character = characters[n];
    const hb_script_t script = hb_unicode_script(unicode, character);
    const bool neutral = Neutral(script);
    const bool joins = !runs.empty() && Joins(unicode, character);
    const std::shared_ptr<TFreeTypeFont>* current = runs.empty() ? nullptr : &runs.back().Font;
    const bool inFallback = current && *current != font;
    std::shared_ptr<TFreeTypeFont> chosen;
    if (joins || (inFallback && neutral && (*current)->HasCharacter(character))) {
      chosen = *current;
    } else if (font->HasCharacter(character)) {
      chosen = font;
    } else if (inFallback && (*current)->HasCharacter(character)) {
      chosen = *current;
    } else {
      chosen = TFontMatcher::Get().Fallback(font->Family(), character, font->Style());
      if (!chosen) chosen = font;
    }
    const bool newScript = !neutral && !joins && !runs.empty() && !Neutral(runs.back().Script) &&
                           runs.back().Script != script;
    if (runs.empty() || chosen != runs.back().Font || newScript) {
      runs.push_back({std::move(chosen), neutral ? HB_SCRIPT_COMMON : script, n, n + 1});
    } else {
      runs.back().End = n + 1;
      if (!neutral && Neutral(runs.back().Script)) runs.back().Script = script;
    }
  }
  return runs;
}

struct TBufferDeleter {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

}  // namespace

std::vector<TShapedGlyph> ShapedLine(const std::shared_ptr<TFreeTypeFont>& font, std::u16string_view line) {
  const std::vector<char32_t> characters = FontCodePoints(line);
  std::vector<TShapedGlyph> glyphs;
  if (characters.empty()) return glyphs;
  std::unique_ptr<hb_buffer_t, TBufferDeleter> buffer(hb_buffer_create());
  const auto* text = reinterpret_cast<const hb_codepoint_t*>(characters.data());
  const double em = font->Metrics().UnitsPerEm;
  double pen = 0;
  for (const TRun& run : Runs(font, characters)) {
    hb_buffer_clear_contents(buffer.get());
    hb_buffer_add_codepoints(buffer.get(), text, int(characters.size()), unsigned(run.Begin),
                             int(run.End - run.Begin));
    if (!Neutral(run.Script)) {
      hb_buffer_set_script(buffer.get(), run.Script);
      if (const hb_direction_t direction = hb_script_get_horizontal_direction(run.Script);
          direction != HB_DIRECTION_INVALID)
        hb_buffer_set_direction(buffer.get(), direction);
    }
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(run.Font->Shaper(), buffer.get(), nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), nullptr);
    const double scale = em / run.Font->Metrics().UnitsPerEm;
    const int32_t bold = run.Font->BoldAdvance();
    for (unsigned n = 0; n < count; ++n) {
      const double x = pen + positions[n].x_offset * scale;
      glyphs.push_back({run.Font, uint16_t(infos[n].codepoint), int32_t(std::lround(x))});
      const int32_t advance = positions[n].x_advance;
      pen += (advance != 0 ? advance + bold : 0) * scale;
    }
  }
  return glyphs;
}

}  // namespace kiv
