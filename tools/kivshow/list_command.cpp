// kivshow list: the entries of a show, one line each.
#include <iomanip>

#include "base/text.h"
#include "container/kiv_unpack.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"
#include "kivshow/pack_mode_words.h"

namespace kiv {

namespace {

constexpr char kUsage[] =
    "Usage: kivshow list <show>\n"
    "\n"
    "Lists the entries of a show executable or data file, one line each: pack mode,\n"
    "stored size, position in the file, name. An entry whose index record is broken\n"
    "shows \"broken\".\n";

int RunList(const TCommandArguments& arguments, std::ostream& out, std::ostream&) {
  if (arguments.Positional().size() != 1) throw EUsageError("name exactly one show");
  const std::unique_ptr<TKivUnpack> show = OpenShowContainer(arguments.Positional()[0]);
  for (const std::u16string& name : show->EntryNames()) {
    const std::optional<TKivUnpack::TEntry> entry = show->FindEntry(name);
    if (entry)
      out << std::left << std::setw(11) << PackModeWord(entry->Mode) << std::right << std::setw(12) << entry->Size
          << std::setw(12) << entry->Position;
    else
      out << std::left << std::setw(11) << "broken" << std::right << std::setw(12) << "-" << std::setw(12) << "-";
    out << "  " << Utf16ToUtf8(name) << "\n";
  }
  return 0;
}

}  // namespace

const TKivShowCommand& ListCommand() {
  static const TKivShowCommand command{"list", "list the entries of a show", kUsage, {}, RunList};
  return command;
}

}  // namespace kiv
