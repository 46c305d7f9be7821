#include "app/screen_saver_mode.h"

#include "base/elf_hash.h"
#include "base/file_names.h"
#include "base/text.h"

namespace kiv {

namespace {

constexpr std::u16string_view kSaverEnding = u".scr";

bool EndsAsSaver(std::u16string_view path) {
  return path.size() >= kSaverEnding.size() && LowerCase(path.substr(path.size() - kSaverEnding.size())) == kSaverEnding;
}

}  // namespace

TScreenSaverMode ScreenSaverModeFor(std::u16string_view programPath, const TCommandLine& commandLine) {
  if (commandLine.HasRawArgument(u"-startup")) return TScreenSaverMode::None;
  if (commandLine.HasRawArgument(u"/s") || commandLine.HasRawArgument(u"/S")) return TScreenSaverMode::Show;
  if (commandLine.HasRawArgument(u"/p")) return TScreenSaverMode::Preview;
  return EndsAsSaver(programPath) ? TScreenSaverMode::Refused : TScreenSaverMode::None;
}

std::u16string RunModeProgramPath(TScreenSaverMode mode, std::u16string_view programPath) {
  const bool saver = EndsAsSaver(programPath);
  if (mode == TScreenSaverMode::Show && !saver) return std::u16string(programPath) + std::u16string(kSaverEnding);
  if (mode != TScreenSaverMode::Show && saver) return std::u16string(programPath.substr(0, programPath.size() - 4));
  return std::u16string(programPath);
}

std::string InstanceLockKey(std::u16string_view programPath) {
  std::u16string folder = FileFolder(programPath);
  if (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  const std::u16string name = FileNameOf(programPath);
  return "Instance_ID" + std::to_string(ElfHash(programPath)) + std::to_string(ElfHash(folder)) +
         std::to_string(ElfHash(name)) + Utf16ToUtf8(name);
}

}  // namespace kiv
