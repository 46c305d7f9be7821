#include "model/nav_action.h"

#include "base/text.h"

namespace kiv {

const TNavAction* FindNavAction(std::u16string_view name) {
  for (const TNavAction& action : kNavActions)
    if (SameTextIgnoringCase(action.Name, name)) return &action;
  return nullptr;
}

int32_t NavSkinActionType(std::u16string_view name) {
  const TNavAction* action = FindNavAction(name);
  return action ? action->SkinType : 0;
}

TKivActionInfo NavCommandAction(std::u16string_view name) {
  const TNavAction* action = FindNavAction(name);
  if (!action) return {};
  return {uint8_t(action->Action), action->Number, {}};
}

}  // namespace kiv
