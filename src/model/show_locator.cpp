#include "model/show_locator.h"

#include "base/file_names.h"
#include "base/text.h"
#include "container/replace_pair.h"
#include "model/show_main.h"
#include "platform/folders.h"

namespace kiv {

namespace {

// The folder of path, written with "/" (show data may use "\\"), ending with "/".
std::u16string FolderWithSlash(std::u16string_view path) {
  std::u16string folder = FileFolder(path);
  for (char16_t& unit : folder)
    if (unit == u'\\') unit = u'/';
  return folder;
}

}  // namespace

TKivShowLocator::TKivShowLocator(std::unique_ptr<TFileAccessor> accessor, std::u16string projectName)
    : FAccessor(std::move(accessor)), FProjectName(std::move(projectName)) {
  if (std::unique_ptr<TStream> stream = FAccessor->OpenStream(FProjectName)) {
    auto project = std::make_unique<TIniFile>();
    try {
      // A text without a main section is no project: nothing of it could play.
      if (project->LoadFromStream(*stream) && FindMainSection(*project)) FProject = std::move(project);
    } catch (const EKivError&) {
      // an unreadable project leaves Project() null
    }
  }
  if (!FProject) return;
  FVersion = FProject->ReadString(u"Main", u"KivVersion", u"");
  if (auto* mapped = dynamic_cast<TMappedFileSource*>(&FAccessor->Source())) mapped->LoadMaps(*FProject);
}

TKivSource& TKivShowLocator::Source(std::u16string_view programPath) {
  if (!FSource) FSource = std::make_unique<TKivSource>(FAccessor.get(), FProject.get(), false, programPath);
  return *FSource;
}

TOpenedShow OpenFromExecutable(std::u16string_view path, TFileAccessor::TReadHook readHook) {
  if (std::u16string project = ReplacementProjectFor(path); !project.empty()) {
    TOpenedShow opened{OpenFromProject(project, std::move(readHook)), {}};
    if (!opened.Locator) opened.Error = u"Executable SlideShow Open Error";
    return opened;
  }
  auto container = std::make_unique<TKivUnpack>(Utf16ToUtf8(path));
  if (!container->Usable()) return {nullptr, container->Error()};
  auto accessor = std::make_unique<TFileAccessor>(std::make_shared<TPackedFileSource>(std::move(container)),
                                                  FolderWithSlash(path));
  accessor->SetReadHook(std::move(readHook));
  auto locator = std::make_unique<TKivShowLocator>(std::move(accessor), u"Project.kiv");
  if (!locator->Project()) return {nullptr, u"Executable SlideShow Open Error"};
  return {std::move(locator), {}};
}

std::unique_ptr<TKivShowLocator> OpenFromProject(std::u16string_view path, TFileAccessor::TReadHook readHook) {
  const std::u16string projectFolder = FolderWithSlash(path);
  auto accessor =
      std::make_unique<TFileAccessor>(std::make_shared<TMappedFileSource>(projectFolder), projectFolder);
  accessor->SetReadHook(std::move(readHook));
  // The project is read from its folder by its own name: a relative path names the
  // folder once, not twice.
  auto locator = std::make_unique<TKivShowLocator>(std::move(accessor), FileNameOf(path));
  if (!locator->Project()) return nullptr;
  // The show's files sit beside the program the project will be built into; while that
  // folder does not exist here (a project written elsewhere), beside the project.
  const std::u16string exeFolder = FolderWithSlash(locator->Project()->ReadString(u"main", u"opt_exefn", u""));
  if (IsFolder(Utf16ToUtf8(exeFolder))) locator->Accessor().SetBaseFolder(exeFolder);
  return locator;
}

std::optional<std::u16string> IsShowContainer(std::u16string_view path) {
  try {
    TKivUnpack container(Utf16ToUtf8(path));
    if (container.Usable()) return container.Version();
  } catch (const std::exception&) {
    // a container that fails to open is no container
  }
  return std::nullopt;
}

}  // namespace kiv
