#pragma once
// The password prompt on SDL: a small window of its own with the caption as title, the
// label, a field that shows one dot per character typed, and the OK and Cancel buttons.
// Enter or OK confirms, Esc, Cancel or closing the window cancels; Backspace takes the
// last character back. Texts are drawn with the installed fonts.
#include <optional>
#include <string>

#include "app/show_password.h"

namespace kiv {

// What the user entered; none when cancelled, or when there is no display to ask on.
std::optional<std::u16string> AskPassword(const TPasswordTexts& texts);

}  // namespace kiv
