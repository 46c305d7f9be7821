// kivshow extract: entries of a show written out as files inside one folder.
#include <filesystem>
#include <system_error>

#include "base/file_stream.h"
#include "base/text.h"
#include "kivshow/entry_paths.h"
#include "kivshow/kivshow_command.h"
#include "kivshow/opened_show.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "Usage: kivshow extract <show> -o <folder> [<entry name>...]\n"
    "\n"
    "Writes the entries of a show (all, or those named) as files inside the folder.\n"
    "The player program a show carries is written only when named.\n"
    "Names become paths inside it: \"\\\" separates folders, a drive (\"C:\") and\n"
    "leading separators are dropped, and a name with a \"..\" part is not written.\n"
    "\n"
    "Options:\n"
    "  -o, --output <folder>  the folder to write into (made when missing; required)\n";

constexpr TOptionSpec kOptions[] = {{"--output", "-o", true, false}};

bool IsInside(const fs::path& path, const fs::path& root) {
  const fs::path relative = path.lexically_relative(root);
  return !relative.empty() && *relative.begin() != "..";
}

// Whether the entry is the program a show executable starts with.
bool IsProgramImage(const TKivUnpack& show, std::u16string_view name) {
  const std::optional<TKivUnpack::TEntry> entry = show.FindEntry(name);
  if (!entry || entry->Position != 0) return false;
  const std::unique_ptr<TStream> stream = show.OpenEntry(name);
  uint8_t head[4] = {};
  return stream && stream->Read(head, 4) == 4 && head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F';
}

// Writes one entry below root (a canonical folder); raises EKivError when it cannot.
void ExtractEntry(const TKivUnpack& show, std::u16string_view name, const fs::path& root) {
  const std::optional<std::string> relative = SafeEntryPath(name);
  if (!relative) throw EKivError("unsafe entry name, not written");
  const std::unique_ptr<TStream> entry = show.OpenEntry(name);
  if (!entry) throw EKivError("no such entry, or it cannot be read");

  const fs::path target = root / *relative;
  std::error_code error;
  fs::create_directories(target.parent_path(), error);
  if (error) throw EKivError(target.parent_path().string() + ": " + error.message());
  // A link already inside the folder could lead out of it.
  const fs::path folder = fs::canonical(target.parent_path(), error);
  if (error || !IsInside(folder, root)) throw EKivError("leads outside the output folder, not written");
  if (fs::is_symlink(target, error)) fs::remove(target, error);

  TFileStream file(target.string(), TFileMode::Create);
  const int64_t size = entry->GetSize();
  if (file.CopyFrom(*entry, size) != size) throw EStreamReadError();
}

int RunExtract(const TCommandArguments& arguments, std::ostream& out, std::ostream& err) {
  const std::vector<std::string>& positional = arguments.Positional();
  if (positional.empty()) throw EUsageError("name the show");
  if (!arguments.Has("--output")) throw EUsageError("name the output folder with -o");
  const std::unique_ptr<TKivUnpack> show = OpenShowContainer(positional[0]);

  std::vector<std::u16string> names;
  for (size_t i = 1; i < positional.size(); ++i) names.push_back(Utf8ToUtf16(positional[i]));
  if (names.empty())
    for (std::u16string& name : show->EntryNames())
      if (!IsProgramImage(*show, name)) names.push_back(std::move(name));

  std::error_code error;
  const std::string output = arguments.Value("--output");
  fs::create_directories(output, error);
  const fs::path root = fs::canonical(output, error);
  if (error) throw EKivError(output + ": " + error.message());

  size_t written = 0;
  for (const std::u16string& name : names) {
    try {
      ExtractEntry(*show, name, root);
      ++written;
    } catch (const EKivError& e) {
      err << Utf16ToUtf8(name) << ": " << e.what() << "\n";
    }
  }
  out << "Extracted " << written << " of " << names.size() << " entries into " << output << "\n";
  return written == names.size() ? 0 : 1;
}

}  // namespace

const TKivShowCommand& ExtractCommand() {
  static const TKivShowCommand command{"extract", "write the entries of a show into a folder", kUsage, kOptions,
                                       RunExtract};
  return command;
}

}  // namespace kiv
