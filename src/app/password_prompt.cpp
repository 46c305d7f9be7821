#include "app/password_prompt.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <memory>

#include "app/dialog_painter.h"
#include "app/message_box.h"
#include "base/log.h"
#include "base/text.h"

namespace kiv {

namespace {

constexpr int kWidth = 360, kHeight = 150;
constexpr SDL_Rect kLabelAt{16, 14, 328, 22};
constexpr SDL_Rect kField{16, 42, 328, 28};
constexpr SDL_Rect kOkButton{172, 100, 80, 30};
constexpr SDL_Rect kCancelButton{264, 100, 80, 30};
constexpr int kDotSize = 8, kDotStep = 12;

class TPrompt {
 public:
  TPrompt(SDL_Window* window, SDL_Renderer* renderer, const TPasswordTexts& texts)
      : FWindow(window), FRenderer(renderer), FPaint(renderer) {
    FLabel = FPaint.Text(texts.Label);
    FOk = FPaint.Text(texts.Ok);
    FCancel = FPaint.Text(texts.Cancel);
  }

  std::optional<std::u16string> Run() {
    SDL_StartTextInput();
    Draw();
    for (;;) {
      SDL_Event event;
      if (!SDL_WaitEventTimeout(&event, 100)) continue;
      if (event.type == SDL_QUIT) return std::nullopt;
      if (event.type == SDL_WINDOWEVENT && event.window.windowID == SDL_GetWindowID(FWindow)) {
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return std::nullopt;
        Draw();
      } else if (event.type == SDL_TEXTINPUT) {
        FEntered += Utf8ToUtf16(event.text.text);
        Draw();
      } else if (event.type == SDL_KEYDOWN) {
        const SDL_Keycode key = event.key.keysym.sym;
        if (key == SDLK_RETURN || key == SDLK_KP_ENTER) return FEntered;
        if (key == SDLK_ESCAPE) return std::nullopt;
        if (key == SDLK_BACKSPACE && !FEntered.empty()) {
          // A character beyond the first plane takes two units.
          const bool pair = FEntered.size() >= 2 && (FEntered.back() & 0xFC00) == 0xDC00;
          FEntered.resize(FEntered.size() - (pair ? 2 : 1));
          Draw();
        }
      } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        if (Inside(kOkButton, event.button.x, event.button.y)) return FEntered;
        if (Inside(kCancelButton, event.button.x, event.button.y)) return std::nullopt;
      }
    }
  }

 private:
  void Draw() {
    FPaint.Clear();
    FPaint.Put(FLabel.get(), kLabelAt, false);
    FPaint.Frame(kField, 255);
    SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);
    const size_t room = size_t((kField.w - 8) / kDotStep);
    for (size_t i = 0; i < std::min(CharacterCount(), room); ++i) {
      const SDL_Rect dot{kField.x + 8 + int(i) * kDotStep, kField.y + (kField.h - kDotSize) / 2, kDotSize, kDotSize};
      SDL_RenderFillRect(FRenderer, &dot);
    }
    FPaint.Frame(kOkButton, 220);
    FPaint.Put(FOk.get(), kOkButton, true);
    FPaint.Frame(kCancelButton, 220);
    FPaint.Put(FCancel.get(), kCancelButton, true);
    SDL_RenderPresent(FRenderer);
  }

  size_t CharacterCount() const {
    return size_t(std::count_if(FEntered.begin(), FEntered.end(), [](char16_t u) { return (u & 0xFC00) != 0xDC00; }));
  }

  SDL_Window* FWindow;
  SDL_Renderer* FRenderer;
  TDialogPainter FPaint;
  TDialogPainter::TTexture FLabel, FOk, FCancel;
  std::u16string FEntered;
};

}  // namespace

std::optional<std::u16string> AskPassword(const TPasswordTexts& texts) {
  if (!DisplayAvailable() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    Log().Write("AskPassword: no display to ask for the password on");
    return std::nullopt;
  }
  std::optional<std::u16string> entered;
  SDL_Window* window = SDL_CreateWindow(Utf16ToUtf8(texts.Caption).c_str(), SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, kWidth, kHeight, SDL_WINDOW_SHOWN);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (renderer) {
    SDL_RaiseWindow(window);
    entered = TPrompt(window, renderer, texts).Run();
    SDL_DestroyRenderer(renderer);
  } else {
    Log().Write(std::string("AskPassword: no window: ") + SDL_GetError());
  }
  if (window) SDL_DestroyWindow(window);
  SDL_StopTextInput();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return entered;
}

}  // namespace kiv
