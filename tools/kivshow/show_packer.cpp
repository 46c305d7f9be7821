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
#include "container/loose_files.h"

namespace kiv {

namespace {

namespace fs = std::filesystem;

constexpr char16_t kMainSection[] = u"Main";
constexpr char16_t kVersionIdent[] = u"KivVersion";
constexpr char16_t kProgramIdent[] = u"opt_exefn";

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
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
  TFileAdder(TKivPack& pack, TPackMode mode, const std::string& outputPath)
      : FPack(pack), FMode(mode), FOutputIdentity(FileIdentity(outputPath)) {}

  void Add(std::u16string_view name, const std::string& path) {
    if (FPack.HasEntry(name)) return;
    const std::string identity = FileIdentity(path);
    if (identity == FOutputIdentity) return;  // never read the show being written
    const auto [known, isNew] = FFirstNames.try_emplace(identity, name);
    if (isNew)
      FPack.AddFile(name, path, FMode);
    else
      FPack.AddAlias(name, known->second);
  }

 private:
  TKivPack& FPack;
  TPackMode FMode;
  std::string FOutputIdentity;
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

TStoredTexts PackInto(TKivPack& pack, const TShowPackRequest& request, const std::vector<uint8_t>& projectBytes,
                      const TIniFile& project) {
  pack.AddBytes(kProjectEntry, projectBytes, TPackMode::Deflated);
  TFileAdder adder(pack, request.Mode, request.OutputPath);

  const std::u16string projectFolder = Utf8ToUtf16(fs::path(request.ProjectPath).parent_path().string());
  for (const std::u16string& name : ProjectFileNames(project)) {
    const std::u16string onDisk =
        IsAbsoluteShowName(name) || projectFolder.empty() ? name : projectFolder + u"/" + name;
    const std::string found = FindLooseFile(onDisk);
    if (!found.empty()) adder.Add(name, found);
  }
  for (const std::string& extra : request.ExtraFiles) {
    std::error_code error;
    if (!fs::is_regular_file(extra, error)) throw EKivError(extra + ": no such file");
    adder.Add(ExtraEntryName(extra, request.ProjectPath), extra);
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
    pack = std::make_unique<TKivPack>(output, Utf8ToUtf16(request.PlayerPath));
  }
  const TStoredTexts texts = PackInto(*pack, request, projectBytes, project);
  return {pack->EntryCount(), pack->StoredBytes(), texts.Texts, texts.Fonts, std::nullopt};
}

}  // namespace

TShowPackResult PackShow(const TShowPackRequest& request) {
  std::vector<uint8_t> projectBytes = ReadWholeFile(request.ProjectPath);
  TIniFile project;
  TMemoryStream projectStream(projectBytes);
  project.LoadFromStream(projectStream);
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
