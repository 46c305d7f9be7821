#include "model/kiv_dialog.h"

#include <algorithm>

#include "base/text.h"

namespace kiv {

int32_t CustomDialogCount(const TIniIdentList& main) {
  return std::clamp(main.ReadInteger(u"opt_customdialogscount", 0), 0, kMaxCustomDialogs);
}

std::u16string DialogSectionName(const TIniIdentList& main, std::u16string_view name) {
  const int32_t count = CustomDialogCount(main);
  for (int32_t i = 1; i <= count; ++i)
    if (main.ReadString(u"custom_dialog" + IntToText(i), u"NotFound") == name) return u"dialog_" + IntToText(i) + u"_";
  return u"dialog_" + std::u16string(name);
}

TKivDialog::TKivDialog(TKivSlideHost& host, std::u16string name, bool pausesShow)
    : TKivSlide(host), FDialogName(std::move(name)), FPausesShow(pausesShow) {}

void TKivDialog::SetFade(float fade) {
  fade = fade > 0 ? std::min(fade, 100.0f) : 0;  // NaN too gives 0
  if (fade == FFade) return;
  FFade = fade;
  // Every object's effective opacity changed: the next advance must place the tree anew.
  SetContentChanged();
}

}  // namespace kiv
