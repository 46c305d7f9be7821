#pragma once
// The virtual picture name a text object asks the slide host for. The text producer
// reads everything it renders from the name, so the name changes whenever the rendered
// picture would.
#include <string>

#include "model/text_keys.h"

namespace kiv {

// "Text: " and twelve fields separated by ":": font name; size; offset x; offset y
// (6 decimals each); style text; alignment (0 left, 1 centre, 2 right); line spacing
// (2 decimals); red, green, blue and alpha of the text colour; the lines joined by "^&"
// in double quotes (last, so that the text may hold ":").
// size: the height of one line in pixels.
std::u16string TextPictureName(const TTextKeys& keys, double size);

}  // namespace kiv
