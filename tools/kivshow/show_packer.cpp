#include "kivshow/show_packer.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include "base/file_stream.h"
#include "base/memory_stream.h"
#include "base/text.h"
#include "container/kiv_pack.h"
#include "kivshow/opened_show.h"
#include "kivshow/project_file_names.h"
#include "kivshow/show_texts.h"
#include "container/file_map_line.h"
#include "container/loose_files.h"
#include "base/file_names.h"
#include "model/button_skin.h"
#include "model/show_locator.h"
#include "model/show_main.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr char16_t kMainSection[] = u"Main";
constexpr char16_t kVersionIdent[] = u"KivVersion";
constexpr char16_t kProgramIdent[] = u"opt_exefn";

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) throw EKivError(path + ": not found");
  if (fs::is_directory(status)) throw EKivError(path + ": is a folder");
  TFileStream file(path, TFileMode::OpenRead);
  std::vector<uint8_t> bytes(size_t(file.GetSize()));
  file.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

// Show data writes Windows paths: a leading separator or a drive letter makes a name
// absolute.
bool IsAbsoluteShowName(std::u16string_view name) {
  if (!name.empty() && (name[0] == u'/' || name[0] == u'\\')) return true;
  return name.size() >= 2 && name[1] == u':' && LowerCaseUnit(name[0]) >= u'a' && LowerCaseUnit(name[0]) <= u'z';
}

// The identity of a file on disk, so that one file named several ways is found again.
std::string FileIdentity(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::canonical(path, error);
  return error ? path : canonical.string();
}

// Adds files to a pack, each name once and each file's data once.
class TFileAdder {
 public:
  TFileAdder(TKivPack& pack, TPackMode mode, const std::string& outputPath, const std::string& partPath)
      : FPack(pack), FMode(mode), FOutputIdentity(FileIdentity(outputPath)), FPartIdentity(FileIdentity(partPath)) {}

  // Adds the file under name; false when it is left out because it is a show itself
  // (an earlier pack, a data file), which would nest one show in the next.
  bool Add(std::u16string_view name, const std::string& path) {
    if (FPack.HasEntry(name)) return true;
    const std::string identity = FileIdentity(path);
    if (identity == FOutputIdentity || identity == FPartIdentity) return true;  // never read the show being written
    if (IsShowContainer(Utf8ToUtf16(path))) return false;
    const auto [known, isNew] = FFirstNames.try_emplace(identity, name);
    if (isNew)
      FPack.AddFile(name, path, FMode);
    else
      FPack.AddAlias(name, known->second);
    return true;
  }

 private:
  TKivPack& FPack;
  TPackMode FMode;
  std::string FOutputIdentity;
  std::string FPartIdentity;
  std::map<std::string, std::u16string> FFirstNames;  // file identity -> entry holding its data
};

// A file added by hand inside the project's folder is stored as the show names its
// files: relative to the project, folders separated by "\\". Others keep the path given.
std::u16string ExtraEntryName(const std::string& extra, const std::string& projectPath) {
  std::error_code error;
  const fs::path file = fs::weakly_canonical(extra, error);
  const fs::path folder = fs::weakly_canonical(fs::path(projectPath).parent_path(), error);
  if (error) return Utf8ToUtf16(extra);
  const fs::path relative = file.lexically_relative(folder);
  if (relative.empty() || *relative.begin() == "..") return Utf8ToUtf16(extra);
  std::u16string name = Utf8ToUtf16(relative.string());
  std::replace(name.begin(), name.end(), u'/', u'\\');
  return name;
}

TStoredTexts PackInto(TKivPack& pack, const TShowPackRequest& request, const std::string& partPath,
                      const std::vector<uint8_t>& projectBytes, const TIniFile& project, TShowPackResult& result) {
  pack.AddBytes(kProjectEntry, projectBytes, TPackMode::Deflated);
  TFileAdder adder(pack, request.Mode, request.OutputPath, partPath);

  const std::u16string projectFolder = Utf8ToUtf16(fs::path(request.ProjectPath).parent_path().string());
  const auto onDisk = [&](const std::u16string& name) {
    return FindLooseFile(IsAbsoluteShowName(name) || projectFolder.empty() ? name : projectFolder + u"/" + name);
  };
  const std::u16string ownProgram = TrimmedUnquoted(project.ReadString(kMainSection, kProgramIdent, u""));
  for (const std::u16string& name : ProjectFileNames(project)) {
    const std::string found = onDisk(name);
    // The show's own program name finds the last pack of it: left out without a word.
    if (!found.empty() && !adder.Add(name, found) && !SameTextIgnoringCase(name, ownProgram))
      result.LeftOut.push_back(Utf16ToUtf8(name));
  }
  for (const std::u16string& name : ProjectMediaFiles(project))
    if (onDisk(name).empty()) result.Missing.push_back(Utf16ToUtf8(name));
  // A button skin is its theme's folder: the skin file and the pictures it names. So is
  // the navigation panel's file, with its skin pictures beside it.
  const auto addFolderOf = [&](const std::u16string& file) {
    const std::string found = onDisk(file);
    if (found.empty()) {
      result.Missing.push_back(Utf16ToUtf8(file));
      return;
    }
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(found).parent_path(), error))
      if (entry.is_regular_file(error))
        adder.Add(FileFolder(file) + Utf8ToUtf16(entry.path().filename().string()), entry.path().string());
  };
  const std::u16string buttons = project.ReadString(kMainSection, u"PathToButtons", u"");
  for (const std::u16string& theme : ProjectButtonThemes(project)) addFolderOf(ButtonSkinFileName(buttons, theme));
  const std::u16string panel = TrimmedUnquoted(project.ReadString(kMainSection, u"opt_nav_inifile", u""));
  if (!panel.empty() && project.ReadBool(kMainSection, u"opt_fcp", false)) addFolderOf(panel);
  for (const std::string& extra : request.ExtraFiles) {
    std::error_code error;
    if (!fs::is_regular_file(extra, error)) throw EKivError(extra + ": no such file");
    if (!adder.Add(ExtraEntryName(extra, request.ProjectPath), extra)) result.LeftOut.push_back(extra);
  }

  TStoredTexts texts;
  if (request.StoreTexts) {
    std::unique_ptr<TKivShowLocator> show = OpenShowOrProject(request.ProjectPath);
    texts = StoreShowTexts(pack, ShowTexts(show->Source(Utf8ToUtf16(request.ProjectPath))), request.Mode);
  }

  TKivPackFinish finish;
  finish.Version =
      request.Version ? *request.Version : project.ReadString(kMainSection, kVersionIdent, kDefaultShowVersion);
  finish.AllowModify = request.AllowModify;
  finish.ShortTrailer = request.ShortTrailer;
  pack.Finish(finish);
  return texts;
}

TShowPackResult WriteShow(const TShowPackRequest& request, const std::string& outputPath,
                          const std::vector<uint8_t>& projectBytes, const TIniFile& project) {
  TFileStream output(outputPath, TFileMode::Create);
  std::unique_ptr<TKivPack> pack;
  if (request.DataFile) {
    pack = std::make_unique<TKivPack>(output);
  } else {
    TFileStream player(request.PlayerPath, TFileMode::OpenRead);
    const int64_t imageSize = player.GetSize();
    if (output.CopyFrom(player, imageSize) != imageSize) throw EStreamReadError();
    // Named by its file name alone: the packing machine's folders are no business of
    // the show's.
    pack = std::make_unique<TKivPack>(output, FileNameOf(Utf8ToUtf16(request.PlayerPath)));
  }
  TShowPackResult result;
  const TStoredTexts texts = PackInto(*pack, request, outputPath, projectBytes, project, result);
  result.Entries = pack->EntryCount();
  result.StoredBytes = pack->StoredBytes();
  result.Texts = texts.Texts;
  result.Fonts = texts.Fonts;
  return result;
}

}  // namespace

TShowPackResult PackShow(const TShowPackRequest& request) {
  std::error_code error;
  if (fs::is_directory(request.OutputPath, error))
    throw EKivError(request.OutputPath + ": is a folder; name the show to write");
  std::vector<uint8_t> projectBytes = ReadWholeFile(request.ProjectPath);
  TIniFile project;
  TMemoryStream projectStream(projectBytes);
  if (IsShowContainer(Utf8ToUtf16(request.ProjectPath)) || !project.LoadFromStream(projectStream) ||
      !FindMainSection(project))
    throw EKivError(request.ProjectPath + ": no [main] section: not a project file");
  // A show program names itself in its project; the player refuses to start one that
  // does not, so a project written by hand gets the output's path.
  std::optional<std::string> namedProgram;
  if (!request.DataFile && project.ReadString(kMainSection, kProgramIdent, u"").empty()) {
    std::error_code error;
    namedProgram = fs::absolute(request.OutputPath, error).string();
    project.WriteString(kMainSection, kProgramIdent, Utf8ToUtf16(*namedProgram));
    TMemoryStream saved;
    if (!project.SaveToStream(saved)) throw EKivError(request.ProjectPath + ": cannot be written back");
    projectBytes = saved.Bytes();
  }

  // The show is written beside the output and moved into place when complete, so a
  // failure leaves an existing output alone and the output may be the player itself.
  const std::string partPath = request.OutputPath + ".part";
  TShowPackResult result;
  try {
    result = WriteShow(request, partPath, projectBytes, project);
    if (!request.DataFile) {
      std::error_code error;
      fs::permissions(partPath, fs::perms(0755), error);
      if (error) throw EKivError(request.OutputPath + ": cannot be made executable: " + error.message());
    }
    fs::rename(partPath, request.OutputPath);
    result.NamedProgram = namedProgram;
  } catch (...) {
    std::error_code ignored;
    fs::remove(partPath, ignored);
    throw;
  }
  return result;
}

}  // namespace kiv
