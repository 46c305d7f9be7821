#include "app/message_box.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/log.h"
#include "base/text.h"

namespace kiv {

namespace {

TSdlMessageBox& SdlMessageBox() {
  static TSdlMessageBox box;
  return box;
}

IMessageBox*& InstalledBox() {
  static IMessageBox* box = nullptr;
  return box;
}

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

std::string MessageLine(const TMessage& message) {
  const std::string text = Utf16ToUtf8(message.Text);
  return message.Title.empty() ? text : Utf16ToUtf8(message.Title) + ": " + text;
}

bool DisplayAvailable() {
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY")) return false;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  return !driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0);
}

void TSdlMessageBox::Show(const TMessage& message) {
  const std::string line = MessageLine(message) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  if (!DisplayAvailable()) return;
  // SDL shows its boxes through its video driver; a display it cannot open gets none.
  const bool ownVideo = SDL_WasInit(SDL_INIT_VIDEO) == 0;
  if (ownVideo && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    Log().Write(std::string("Message box not shown, no video: ") + SDL_GetError());
    return;
  }
  const Uint32 flags = message.Warning ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, Utf16ToUtf8(message.Title).c_str(), Utf16ToUtf8(message.Text).c_str(),
                               FOwner) != 0)
    Log().Write(std::string("Message box not shown: ") + SDL_GetError());
  if (ownVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

IMessageBox& Messages() { return InstalledBox() ? *InstalledBox() : SdlMessageBox(); }

IMessageBox* SetMessageBox(IMessageBox* box) {
  IMessageBox* const previous = InstalledBox();
  InstalledBox() = box;
  return previous;
}

void SetMessageOwner(SDL_Window* owner) { SdlMessageBox().SetOwner(owner); }

void ShowError(std::u16string_view text) { Messages().Show({std::u16string(kErrorTitle), std::u16string(text), true}); }

void ShowNotice(std::u16string_view text) { Messages().Show({u"", std::u16string(text), false}); }

}  // namespace kiv
