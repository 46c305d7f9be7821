#include "app/slide_print_flow.h"

#include "app/message_box.h"
#include "app/print_dialog.h"
#include "app/save_dialog.h"
#include "base/log.h"
#include "base/text.h"
#include "engine/slide_printing.h"
#include "engine/slide_saving.h"
#include "platform/folders.h"
#include "platform/printers.h"

namespace kiv {

namespace {

void SaveSlide(const TDialogOwner& owner, const TPrintDialogTexts& printTexts, const TSlidePictures& pictures,
               bool onlyMainPicture) {
  const std::optional<TSlideFile> file = SlideFileToSave(pictures, onlyMainPicture);
  if (!file) {
    Log().Write("PrintOrSaveSlide: the slide has no picture to save");
    return;
  }
  TSaveDialogTexts texts;
  texts.Caption = texts.Save = printTexts.Save;
  RunSaveDialog(owner, texts, Utf8ToUtf16(PicturesFolder()), file->Name,
                [&file](const std::string& folder, std::u16string_view name, bool replace) {
                  return SaveSlideFile(folder, name, file->Bytes, replace);
                });
}

}  // namespace

void PrintOrSaveSlide(const TDialogOwner& owner, const TIniStorage& project, const TSlidePictures& pictures,
                      TPrintDialogStart start) {
  const bool canSave = project.ReadBool(u"main", u"CanRestore", false);
  const TPrintDialogTexts texts = ReadPrintDialogTexts(project);
  if (start == TPrintDialogStart::Save && canSave) {
    SaveSlide(owner, texts, pictures, false);
    return;
  }
  const TPrinterList printers = InstalledPrinters();
  if (printers.Names.empty() && !canSave) {
    ShowNotice(kNoPrinterText);
    return;
  }
  const TPrintDialogChoice choice = RunPrintDialog(owner, texts, printers, canSave);
  switch (choice.Command) {
    case TPrintDialogChoice::TCommand::Cancel: break;
    case TPrintDialogChoice::TCommand::Save: SaveSlide(owner, texts, pictures, choice.OnlyMainPicture); break;
    case TPrintDialogChoice::TCommand::Print: {
      if (choice.Printer.empty()) {
        ShowNotice(kNoPrinterText);
        break;
      }
      std::string error;
      if (PrintSlide(pictures, {choice.Printer, choice.Copies, choice.OnlyMainPicture}, &error) ==
          TPrintOutcome::Failed)
        ShowError(u"The slide could not be printed: " + Utf8ToUtf16(error));
      break;
    }
  }
}

}  // namespace kiv
