#pragma once
// A found show: the accessor to its files, its parsed project description and, on first
// request, the show source built from them.
#include <memory>
#include <optional>
#include <string>

#include "container/file_accessor.h"
#include "ini/ini_file.h"
#include "model/kiv_source.h"

namespace kiv {

class TKivShowLocator {
 public:
  // Reads and parses the project named projectName through the accessor; Project() is
  // null when that fails. A mapped source also takes the project's FileMap and
  // RotationState.
  TKivShowLocator(std::unique_ptr<TFileAccessor> accessor, std::u16string projectName);

  TFileAccessor& Accessor() const { return *FAccessor; }
  TIniFile* Project() const { return FProject.get(); }
  const std::u16string& ProjectName() const { return FProjectName; }
  // "KivVersion" of the project's "Main" section.
  const std::u16string& Version() const { return FVersion; }
  // The show source, built on first request for the running program programPath
  // (a ".scr" program runs the show as a screen saver). Fails as the source does.
  TKivSource& Source(std::u16string_view programPath);

 private:
  std::unique_ptr<TFileAccessor> FAccessor;
  std::unique_ptr<TIniFile> FProject;
  std::u16string FProjectName;
  std::unique_ptr<TKivSource> FSource;
  std::u16string FVersion;
};

struct TOpenedShow {
  std::unique_ptr<TKivShowLocator> Locator;  // null on failure
  std::u16string Error;                      // why, when the container says ("" otherwise)
};

// The show appended to the program (or data file) at path; a program that stands for a
// project file (see replace_pair.h) opens that project. readHook, when given, sees
// every file read from the show. Errors: "Slideshow File not Found", "Slide-show File
// Modified", "Slide-show File Damaged", "Executable SlideShow Open Error".
TOpenedShow OpenFromExecutable(std::u16string_view path, TFileAccessor::TReadHook readHook = {});

// A project file on disk with loose files; null when the project cannot be read.
std::unique_ptr<TKivShowLocator> OpenFromProject(std::u16string_view path, TFileAccessor::TReadHook readHook = {});

// The "kivversion" of the container at path; none when it is no usable container.
std::optional<std::u16string> IsShowContainer(std::u16string_view path);

}  // namespace kiv
