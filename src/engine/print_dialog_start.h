#pragma once
// What the user asked for when the print dialog opens: to print, to save the slide
// (which the dialog offers only when the show allows it), or to choose the printer.
#include <cstdint>

namespace kiv {

enum class TPrintDialogStart : uint8_t { Print, Save, ChangePrinter };

}  // namespace kiv
