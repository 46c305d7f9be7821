#pragma once
// The print dialog the player draws over the show's window: the printer (Left and Right,
// or "Change Printer", go through the printers), the copies (Up and Down, + and -), "Only
// Main Image" (Space), and Print (Enter) or, when the show allows it, Save (S). Esc or
// closing the window cancels. Its texts are the show's own.
#include <string>

#include "app/dialog_painter.h"
#include "ini/ini_storage.h"
#include "platform/printers.h"

namespace kiv {

struct TPrintDialogTexts {
  std::u16string Caption = u"Print";                 // "opt_lng_print_caption"
  std::u16string Print = u"Print";                   // "opt_lng_print_button5"
  std::u16string Save = u"Save";                     // "opt_lng_print_button6"
  std::u16string OnlyMain = u"Only Main Image";      // "opt_lng_print_button7"
  std::u16string ChangePrinter = u"Change Printer";  // "opt_lng_print_label"
  std::u16string Printer = u"Printer:";
  std::u16string Copies = u"Copies:";
  std::u16string NoPrinter = u"(no printer)";
};

// The texts the show gives, the defaults for those it does not.
TPrintDialogTexts ReadPrintDialogTexts(const TIniStorage& project);

struct TPrintDialogChoice {
  enum class TCommand : uint8_t { Cancel, Print, Save };
  TCommand Command = TCommand::Cancel;
  std::string Printer;  // empty when there is none
  int Copies = 1;
  bool OnlyMainPicture = false;
};

inline constexpr int kMostCopies = 99;

// Shows the dialog until the user decides; the default printer is chosen first. Save is
// offered only when canSave. Without a display it is cancelled.
TPrintDialogChoice RunPrintDialog(const TDialogOwner& owner, const TPrintDialogTexts& texts,
                                  const TPrinterList& printers, bool canSave);

}  // namespace kiv
