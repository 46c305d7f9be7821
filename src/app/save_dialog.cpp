#include "app/save_dialog.h"

#include "base/text.h"

namespace kiv {

namespace {

constexpr int kWidth = 480, kHeight = 170;
constexpr SDL_Rect kFolderLabel{16, 12, 70, 28}, kFolderBox{90, 12, 374, 28};
constexpr SDL_Rect kNameLabel{16, 50, 70, 28}, kNameBox{90, 50, 374, 28};
constexpr SDL_Rect kMessage{16, 88, 448, 28};
constexpr SDL_Rect kSaveButton{16, 124, 120, 32}, kYesButton{214, 124, 120, 32}, kNoButton{344, 124, 120, 32};

class TSaveDialog {
 public:
  TSaveDialog(SDL_Renderer* renderer, const TSaveDialogTexts& texts, std::u16string folder, std::u16string name,
              const TSaveAttempt& save)
      : FPaint(renderer), FTexts(texts), FSave(save), FFolder(std::move(folder)), FName(std::move(name)) {}

  bool Run(TDialogWindow& window) {
    Draw();
    for (;;) {
      SDL_Event event;
      if (!window.NextEvent(event, 100)) continue;
      if (event.type == SDL_QUIT) return false;
      if (event.type == SDL_WINDOWEVENT) {
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return false;
      } else if (event.type == SDL_TEXTINPUT && !FAsking) {
        Field() += Utf8ToUtf16(event.text.text);
      } else if (event.type == SDL_KEYDOWN) {
        const SDL_Keycode key = event.key.keysym.sym;
        if (FAsking) {
          if (key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_y) {
            if (Try(true)) return true;
          } else if (key == SDLK_ESCAPE || key == SDLK_n) {
            FAsking = false;
          }
        } else if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
          if (Try(false)) return true;
        } else if (key == SDLK_ESCAPE) {
          return false;
        } else if (key == SDLK_TAB) {
          FOnName = !FOnName;
        } else if (key == SDLK_BACKSPACE) {
          TakeBack(Field());
        }
      } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        const int x = event.button.x, y = event.button.y;
        if (FAsking && Inside(kYesButton, x, y)) {
          if (Try(true)) return true;
        } else if (FAsking && Inside(kNoButton, x, y)) {
          FAsking = false;
        } else if (!FAsking && Inside(kSaveButton, x, y)) {
          if (Try(false)) return true;
        } else if (Inside(kFolderBox, x, y) || Inside(kNameBox, x, y)) {
          FOnName = Inside(kNameBox, x, y);
        }
      }
      Draw();
    }
  }

 private:
  std::u16string& Field() { return FOnName ? FName : FFolder; }

  static void TakeBack(std::u16string& text) {
    if (text.empty()) return;
    // A character beyond the first plane takes two units.
    const bool pair = text.size() >= 2 && (text.back() & 0xFC00) == 0xDC00;
    text.resize(text.size() - (pair ? 2 : 1));
  }

  // True once saved; asks when the file is there; tells when writing failed.
  bool Try(bool replace) {
    const TSaveOutcome outcome = FSave(Utf16ToUtf8(FFolder), FName, replace);
    FAsking = outcome == TSaveOutcome::Exists;
    FFailed = outcome == TSaveOutcome::Failed;
    return outcome == TSaveOutcome::Saved;
  }

  void Draw() {
    FPaint.Clear();
    FPaint.PutText(FTexts.Folder, kFolderLabel, false);
    FPaint.PutText(FTexts.Name, kNameLabel, false);
    Field(kFolderBox, FFolder, !FOnName);
    Field(kNameBox, FName, FOnName);
    if (FAsking) {
      FPaint.PutText(FTexts.Replace, kMessage, false);
      FPaint.Button(kYesButton, FTexts.Yes);
      FPaint.Button(kNoButton, FTexts.No);
    } else if (FFailed) {
      FPaint.PutText(FTexts.Failed, kMessage, false);
    }
    if (!FAsking) FPaint.Button(kSaveButton, FTexts.Save);
    SDL_RenderPresent(FPaint.Renderer());
  }

  // The end of a long text shows, where the typing goes.
  void Field(const SDL_Rect& box, const std::u16string& text, bool focused) {
    FPaint.Frame(box, focused ? 255 : 244);
    constexpr size_t kShown = 48;
    const std::u16string shown = text.size() > kShown ? u"…" + text.substr(text.size() - kShown) : text;
    FPaint.PutText(focused ? shown + u"|" : shown, {box.x + 6, box.y, box.w - 12, box.h}, false);
  }

  TDialogPainter FPaint;
  const TSaveDialogTexts& FTexts;
  const TSaveAttempt& FSave;
  std::u16string FFolder, FName;
  bool FOnName = true;
  bool FAsking = false;
  bool FFailed = false;
};

}  // namespace

bool RunSaveDialog(const TDialogOwner& owner, const TSaveDialogTexts& texts, std::u16string folder,
                   std::u16string name, const TSaveAttempt& save) {
  TDialogWindow window(owner, texts.Caption, kWidth, kHeight);
  if (!window.Open()) return false;
  return TSaveDialog(window.Renderer(), texts, std::move(folder), std::move(name), save).Run(window);
}

}  // namespace kiv
