#pragma once
// A line of text shaped with HarfBuzz in a font and the installed fonts that have what
// it lacks.
//
// The line is split into runs, each of one font and one script:
// - a mark, a joiner or a variation selector stays in the run of the character it
//   follows, so a base and its marks are shaped together (the base's font may compose
//   or place them, or shows its missing glyph for a mark it lacks);
// - a character the font has is shaped in it, except that spaces, digits and
//   punctuation (script Common) inside a fallback run stay in that run when its font has
//   them, so a phrase in a script the font lacks is shaped whole;
// - a character the font lacks continues the fallback run before it when that run's
//   font has it, else goes to the configuration's fallback for it in the same style,
//   else stays in the font (which shows its missing glyph, index 0);
// - a change of script (Common and Inherited characters take the script around them)
//   starts a new run, so each run is shaped with its script's direction and rules.
// Each run is shaped with the whole line as context; HarfBuzz gives a right-to-left run
// in visual order. Runs follow each other left to right in the line's order: there is
// no bidirectional reordering between runs.
//
// Pen positions are in the font's units: a fallback's advances and offsets are scaled
// by the ratio of the ems, a synthesised bold adds its advance, x offsets are added to
// the pen position and y offsets dropped.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/freetype_font.h"

namespace kiv {

std::vector<TShapedGlyph> ShapedLine(const std::shared_ptr<TFreeTypeFont>& font, std::u16string_view line);

}  // namespace kiv
