#pragma once
// The save dialog the player draws over the show's window: the folder and the file
// name, each edited by typing (Tab goes from one to the other, Backspace takes back);
// Enter or Save saves, Esc or closing the window cancels. A file that is there already
// is replaced only after a yes (Y or Enter; N or Esc goes back to the names).
#include <functional>
#include <string>
#include <string_view>

#include "app/dialog_painter.h"
#include "engine/slide_saving.h"

namespace kiv {

struct TSaveDialogTexts {
  std::u16string Caption = u"Save";  // the show's "opt_lng_print_button6"
  std::u16string Save = u"Save";
  std::u16string Folder = u"Folder:";
  std::u16string Name = u"Name:";
  std::u16string Replace = u"The file is there already. Replace it?";
  std::u16string Yes = u"Yes";
  std::u16string No = u"No";
  std::u16string Failed = u"The file could not be written.";
};

// Writes the file into the folder under the name (UTF-8 folder), replacing a file that
// is there only when replace is set.
using TSaveAttempt = std::function<TSaveOutcome(const std::string& folder, std::u16string_view name, bool replace)>;

// Shows the dialog with folder and name proposed until a save succeeded (true) or the
// user cancelled (false).
bool RunSaveDialog(const TDialogOwner& owner, const TSaveDialogTexts& texts, std::u16string folder,
                   std::u16string name, const TSaveAttempt& save);

}  // namespace kiv
