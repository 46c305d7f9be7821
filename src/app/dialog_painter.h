#pragma once
// Small dialogs the player draws itself on SDL (SDL has none of its own but message
// boxes): a window of their own over the show's window, modal for it, whose texts are
// drawn with the installed fonts, and a loop that serves the dialog's events while the
// show's window keeps its own (device requests are served, its input is dropped, the
// rest waits until the dialog closes).
#include <SDL2/SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/text_producer.h"

namespace kiv {

// The show's window a dialog opens over, and what to do with the events that are not
// the dialog's while it is open.
struct TDialogOwner {
  SDL_Window* Window = nullptr;  // none: the dialog is centred on the screen
  // An event of another window or of the engine; none: kept for after the dialog.
  std::function<bool(const SDL_Event& event)> Serve;  // true when it was taken
};

class TDialogPainter {
 public:
  struct TTextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
  };
  using TTexture = std::unique_ptr<SDL_Texture, TTextureDeleter>;

  explicit TDialogPainter(SDL_Renderer* renderer) : FRenderer(renderer), FProducer({}) {}

  // One line of text in black as a texture; null when no font can draw it.
  TTexture Text(std::u16string_view text);
  // The texture in box: left aligned, or centred.
  void Put(SDL_Texture* texture, const SDL_Rect& box, bool centre);
  // Text drawn at once (made and dropped).
  void PutText(std::u16string_view text, const SDL_Rect& box, bool centre);
  void Frame(const SDL_Rect& box, uint8_t fill);
  // A push button: a grey frame with its text in the middle.
  void Button(const SDL_Rect& box, std::u16string_view text);
  void Clear();
  SDL_Renderer* Renderer() const { return FRenderer; }

 private:
  SDL_Renderer* FRenderer;
  TTextProducer FProducer;
};

bool Inside(const SDL_Rect& box, int x, int y);

// A dialog window of width x height titled caption, over the owner's window, with its
// renderer; closed when the object goes, when the events kept meanwhile go back to the
// queue.
class TDialogWindow {
 public:
  TDialogWindow(const TDialogOwner& owner, std::u16string_view caption, int width, int height);
  ~TDialogWindow();
  TDialogWindow(const TDialogWindow&) = delete;
  TDialogWindow& operator=(const TDialogWindow&) = delete;

  bool Open() const { return FRenderer != nullptr; }
  SDL_Renderer* Renderer() const { return FRenderer; }
  // The next event of the dialog's window (or a quit), waiting at most timeoutMs; false
  // when none came. Other events are served or kept.
  bool NextEvent(SDL_Event& event, int timeoutMs);

 private:
  const TDialogOwner& FOwner;
  SDL_Window* FWindow = nullptr;
  SDL_Renderer* FRenderer = nullptr;
  std::vector<SDL_Event> FKept;
};

}  // namespace kiv
