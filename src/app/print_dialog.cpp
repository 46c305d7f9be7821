#include "app/print_dialog.h"

#include <algorithm>

#include "base/text.h"

namespace kiv {

namespace {

constexpr int kWidth = 440, kHeight = 190;
constexpr SDL_Rect kPrinterLabel{16, 12, 80, 28}, kPrinterBox{100, 12, 190, 28}, kChangeButton{298, 12, 126, 28};
constexpr SDL_Rect kCopiesLabel{16, 52, 80, 28}, kCopiesBox{100, 52, 60, 28}, kLessButton{166, 52, 28, 28},
    kMoreButton{198, 52, 28, 28};
constexpr SDL_Rect kCheckBox{16, 97, 18, 18}, kCheckLabel{42, 92, 380, 28};
constexpr SDL_Rect kPrintButton{16, 142, 130, 32}, kSaveButton{156, 142, 130, 32};

class TPrintDialog {
 public:
  TPrintDialog(SDL_Renderer* renderer, const TPrintDialogTexts& texts, const TPrinterList& printers, bool canSave)
      : FPaint(renderer), FTexts(texts), FPrinters(printers), FCanSave(canSave) {
    const auto found = std::find(printers.Names.begin(), printers.Names.end(), printers.Default);
    FPrinter = found == printers.Names.end() ? 0 : int(found - printers.Names.begin());
  }

  TPrintDialogChoice Run(TDialogWindow& window) {
    Draw();
    for (;;) {
      SDL_Event event;
      if (!window.NextEvent(event, 100)) continue;
      if (event.type == SDL_QUIT) return Choice(TPrintDialogChoice::TCommand::Cancel);
      if (event.type == SDL_WINDOWEVENT) {
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return Choice(TPrintDialogChoice::TCommand::Cancel);
      } else if (event.type == SDL_KEYDOWN) {
        switch (event.key.keysym.sym) {
          case SDLK_RETURN:
          case SDLK_KP_ENTER: return Choice(TPrintDialogChoice::TCommand::Print);
          case SDLK_ESCAPE: return Choice(TPrintDialogChoice::TCommand::Cancel);
          case SDLK_s:
            if (FCanSave) return Choice(TPrintDialogChoice::TCommand::Save);
            break;
          case SDLK_LEFT: StepPrinter(-1); break;
          case SDLK_RIGHT: StepPrinter(1); break;
          case SDLK_UP:
          case SDLK_PLUS:
          case SDLK_KP_PLUS: StepCopies(1); break;
          case SDLK_DOWN:
          case SDLK_MINUS:
          case SDLK_KP_MINUS: StepCopies(-1); break;
          case SDLK_SPACE:
          case SDLK_m: FOnlyMain = !FOnlyMain; break;
          default: break;
        }
      } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        const int x = event.button.x, y = event.button.y;
        if (Inside(kPrintButton, x, y)) return Choice(TPrintDialogChoice::TCommand::Print);
        if (FCanSave && Inside(kSaveButton, x, y)) return Choice(TPrintDialogChoice::TCommand::Save);
        if (Inside(kChangeButton, x, y) || Inside(kPrinterBox, x, y)) StepPrinter(1);
        if (Inside(kLessButton, x, y)) StepCopies(-1);
        if (Inside(kMoreButton, x, y)) StepCopies(1);
        if (Inside(kCheckBox, x, y) || Inside(kCheckLabel, x, y)) FOnlyMain = !FOnlyMain;
      }
      Draw();
    }
  }

 private:
  TPrintDialogChoice Choice(TPrintDialogChoice::TCommand command) const {
    TPrintDialogChoice choice{command, {}, FCopies, FOnlyMain};
    if (!FPrinters.Names.empty()) choice.Printer = FPrinters.Names[size_t(FPrinter)];
    return choice;
  }

  void StepPrinter(int step) {
    const int count = int(FPrinters.Names.size());
    if (count > 0) FPrinter = (FPrinter + step + count) % count;
  }

  void StepCopies(int step) { FCopies = std::clamp(FCopies + step, 1, kMostCopies); }

  void Draw() {
    FPaint.Clear();
    FPaint.PutText(FTexts.Printer, kPrinterLabel, false);
    FPaint.Frame(kPrinterBox, 255);
    const std::u16string printer =
        FPrinters.Names.empty() ? FTexts.NoPrinter : Utf8ToUtf16(FPrinters.Names[size_t(FPrinter)]);
    FPaint.PutText(printer, {kPrinterBox.x + 6, kPrinterBox.y, kPrinterBox.w - 12, kPrinterBox.h}, false);
    FPaint.Button(kChangeButton, FTexts.ChangePrinter);
    FPaint.PutText(FTexts.Copies, kCopiesLabel, false);
    FPaint.Frame(kCopiesBox, 255);
    FPaint.PutText(IntToText(FCopies), kCopiesBox, true);
    FPaint.Button(kLessButton, u"-");
    FPaint.Button(kMoreButton, u"+");
    FPaint.Frame(kCheckBox, 255);
    if (FOnlyMain) {
      SDL_SetRenderDrawColor(FPaint.Renderer(), 0, 0, 0, 255);
      const SDL_Rect mark{kCheckBox.x + 4, kCheckBox.y + 4, kCheckBox.w - 8, kCheckBox.h - 8};
      SDL_RenderFillRect(FPaint.Renderer(), &mark);
    }
    FPaint.PutText(FTexts.OnlyMain, kCheckLabel, false);
    FPaint.Button(kPrintButton, FTexts.Print);
    if (FCanSave) FPaint.Button(kSaveButton, FTexts.Save);
    SDL_RenderPresent(FPaint.Renderer());
  }

  TDialogPainter FPaint;
  const TPrintDialogTexts& FTexts;
  const TPrinterList& FPrinters;
  bool FCanSave;
  int FPrinter = 0;
  int FCopies = 1;
  bool FOnlyMain = false;
};

}  // namespace

TPrintDialogTexts ReadPrintDialogTexts(const TIniStorage& project) {
  TPrintDialogTexts texts;
  const auto read = [&project](std::u16string& text, std::u16string_view key) {
    text = project.ReadString(u"main", key, text);
  };
  read(texts.Caption, u"opt_lng_print_caption");
  read(texts.Print, u"opt_lng_print_button5");
  read(texts.Save, u"opt_lng_print_button6");
  read(texts.OnlyMain, u"opt_lng_print_button7");
  read(texts.ChangePrinter, u"opt_lng_print_label");
  return texts;
}

TPrintDialogChoice RunPrintDialog(const TDialogOwner& owner, const TPrintDialogTexts& texts,
                                  const TPrinterList& printers, bool canSave) {
  TDialogWindow window(owner, texts.Caption, kWidth, kHeight);
  if (!window.Open()) return {};
  return TPrintDialog(window.Renderer(), texts, printers, canSave).Run(window);
}

}  // namespace kiv
