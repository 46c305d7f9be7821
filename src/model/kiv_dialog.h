#pragma once
// The root of one of the show's own dialogs: a slide without times or background whose
// objects fade in and out with the dialog.
#include <cstdint>
#include <string>

#include "ini/ini_ident_list.h"
#include "model/kiv_slide.h"

namespace kiv {

// The most named dialogs ("custom_dialog" 1 … n) a show may list: a damaged count
// never makes a search through millions of names.
inline constexpr int32_t kMaxCustomDialogs = 1000;

// "opt_customdialogscount" of the show's main section, within 0 … kMaxCustomDialogs.
int32_t CustomDialogCount(const TIniIdentList& main);
// The section of the dialog opened by name: "dialog_" + i + "_" when "custom_dialog" + i
// of the main section names it, else "dialog_" + name.
std::u16string DialogSectionName(const TIniIdentList& main, std::u16string_view name);

class TKivDialog : public TKivSlide {
 public:
  // Starts hidden (fade 0); the dialog display raises the fade.
  TKivDialog(TKivSlideHost& host, std::u16string name, bool pausesShow);

  const std::u16string& DialogName() const { return FDialogName; }
  // "DialogPause": the show stands still while the dialog is open.
  bool PausesShow() const { return FPausesShow; }

  // 0 hidden … 100 fully shown; the objects are drawn at fade × their opacity / 100.
  float Fade() const { return FFade; }
  void SetFade(float fade);
  float OpacityFactor() const override { return FFade; }

  // A dialog has no resources of its own (no background); its objects load theirs.
  void LoadResources(IPrepareContext&) override {}

 private:
  std::u16string FDialogName;
  bool FPausesShow;
  float FFade = 0;
};

}  // namespace kiv
