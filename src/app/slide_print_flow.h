#pragma once
// The print action on the player's window: the print dialog for the slide on screen, and
// what follows its choice — the page printed, or the save dialog for the slide's file.
// Without a printer the action says so, and the show goes on.
#include <string_view>

#include "app/dialog_painter.h"
#include "engine/print_dialog_start.h"
#include "engine/slide_pictures.h"
#include "ini/ini_storage.h"

namespace kiv {

inline constexpr std::u16string_view kNoPrinterText = u"No printer is installed: the slide cannot be printed.";

// project: the show's; saving is offered only when its "CanRestore" (section "main") is set.
void PrintOrSaveSlide(const TDialogOwner& owner, const TIniStorage& project, const TSlidePictures& pictures,
                      TPrintDialogStart start);

}  // namespace kiv
