#pragma once
// The messages the player puts before the user: a modal box with an OK button on the
// display, and always a line on standard error, so that a player started from a terminal
// or a script says why it stopped. Without a display only the line is written.
#include <string>
#include <string_view>

struct SDL_Window;

namespace kiv {

inline constexpr std::u16string_view kErrorTitle = u"Slideshow Error";

struct TMessage {
  std::u16string Title;  // empty: a box without a title
  std::u16string Text;
  bool Warning = true;  // the warning icon, else the information icon
};

// Where messages go; tests install a recording one.
class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  virtual void Show(const TMessage& message) = 0;
};

// The line written to standard error for a message: "Title: text", or the text alone.
std::string MessageLine(const TMessage& message);

// True when a box can be shown at all: DISPLAY or WAYLAND_DISPLAY is set and SDL is not
// told to use a video driver without a screen ("offscreen", "dummy").
bool DisplayAvailable();

// The box on SDL: the line on standard error, then the box over the owner window (none:
// a box of its own) when there is a display. A box SDL cannot show is left at the line.
class TSdlMessageBox : public IMessageBox {
 public:
  void Show(const TMessage& message) override;
  void SetOwner(SDL_Window* owner) { FOwner = owner; }

 private:
  SDL_Window* FOwner = nullptr;
};

// The messages of this process: the one installed, else a TSdlMessageBox.
IMessageBox& Messages();
// Installs box (not owned; null: back to the SDL one). Returns the one it replaces.
IMessageBox* SetMessageBox(IMessageBox* box);
// The window boxes of the SDL one belong to while it is open (null when it closes).
void SetMessageOwner(SDL_Window* owner);

// A failure the user must see: the warning box titled "Slideshow Error".
void ShowError(std::u16string_view text);
// A notice without a title, such as a refused command.
void ShowNotice(std::u16string_view text);

}  // namespace kiv
