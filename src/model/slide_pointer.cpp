#include "model/slide_pointer.h"

#include "model/action_text.h"
#include "model/kiv_button.h"
#include "model/kiv_object.h"
#include "model/kiv_text.h"

namespace kiv {

namespace {

template <typename F>
void ForEachObject(TKivObject& object, const F& visit) {
  visit(object);
  for (const std::unique_ptr<TKivObject>& child : object.Children()) ForEachObject(*child, visit);
}

// Texts and buttons with an action show hover and click looks; other pictures keep
// the look without showing it, so they are left alone.
TKivImage* LookHolder(TKivObject& object, const TKivActionInfo& action) {
  if (action.Type == kActionNone) return nullptr;
  if (auto* button = dynamic_cast<TKivButton*>(&object)) return button;
  if (auto* text = dynamic_cast<TKivText*>(&object)) return text;
  return nullptr;
}

}  // namespace

TSlidePointerResult PointerOnSlide(TKivObject& root, const TSlidePointer& pointer) {
  ForEachObject(root, [](TKivObject& object) {
    if (auto* image = dynamic_cast<TKivImage*>(&object)) image->SetLook(TButtonState::Normal);
  });
  const bool leftClick =
      pointer.Button == 1 && (pointer.Kind == TPointerKind::Press || pointer.Kind == TPointerKind::Release);
  auto unpressAll = [&root] { ForEachObject(root, [](TKivObject& object) { object.SetPressed(false); }); };

  TSlidePointerResult result;
  if (!pointer.Enabled || (pointer.State != 0 && pointer.State != kPointerLeftButton)) {
    if (leftClick) unpressAll();
    return result;
  }
  TKivObject* found =
      root.FindAt(pointer.X, pointer.Y, [](const TKivObject& object) { return !object.TranspForClick(); });
  const bool wasPressed = found && found->Pressed();
  if (leftClick) unpressAll();
  if (!found) return result;

  result.Object = found;
  result.Action = ParseActionText(found->Action());
  TKivImage* look = LookHolder(*found, result.Action);
  switch (pointer.Kind) {
    case TPointerKind::Move:
      if (look) look->SetLook(pointer.State == kPointerLeftButton ? TButtonState::Click : TButtonState::Hover);
      break;
    case TPointerKind::Press:
      if (pointer.Button != 1) break;
      if (look) look->SetLook(TButtonState::Click);
      found->SetPressed(true);
      break;
    case TPointerKind::Release:
      if (pointer.Button != 1) break;
      if (look) look->SetLook(TButtonState::Hover);
      if (wasPressed) result.Reported = result.Action;
      break;
  }
  return result;
}

}  // namespace kiv
