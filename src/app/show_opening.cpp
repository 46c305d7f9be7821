#include "app/show_opening.h"

#include <cstdio>

#include "platform/file_names.h"
#include "base/text.h"

namespace kiv {

namespace {

std::u16string Quoted(std::u16string_view text) { return u"\"" + std::u16string(text) + u"\""; }

}  // namespace

TShowRequest StartShowRequest(const TCommandLine& commandLine, const TStartParameters& start) {
  TShowRequest request;
  std::optional<std::u16string> path = commandLine.GetOptionValue(u"filename");
  request.IsExecutable = !path;
  if (!path) path = commandLine.GetOptionValue(u"exename");
  request.Path = AbsolutePath(path ? *path : start.ProgramPath, start.ProgramFolder);
  return request;
}

std::u16string LooseShowPath(std::u16string_view executablePath) {
  return ChangeFileExtension(executablePath, u".KvShow");
}

std::u16string ShowLoadFailureText(const TShowRequest& request, std::u16string_view errorText) {
  if (!request.IsExecutable) return u"Can`t Load .kiv File\n" + Quoted(request.Path);
  const std::u16string reason = errorText.empty() ? u"Can`t Load Show" : std::u16string(errorText);
  return reason + u"\n" + Quoted(request.Path) + u" or " + Quoted(LooseShowPath(request.Path));
}

void ShowError(std::u16string_view text) {
  std::fprintf(stderr, "Slideshow Error: %s\n", Utf16ToUtf8(text).c_str());
}

TOpenAttempt TryOpenShowFile(std::u16string_view, bool) {
  // No show container can be read yet: every attempt fails without a text of its own.
  return {};
}

bool OpenShow(const TShowRequest& request) {
  TOpenAttempt attempt = TryOpenShowFile(request.Path, request.IsExecutable);
  if (!attempt.Opened && request.IsExecutable) attempt = TryOpenShowFile(LooseShowPath(request.Path), true);
  if (attempt.Opened) return true;
  ShowError(ShowLoadFailureText(request, attempt.ErrorText));
  return false;
}

}  // namespace kiv
