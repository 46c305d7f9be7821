#pragma once
// The buttons a navigation bar can carry: the name a skin gives each, the number the
// skin's "ActionType" stands for, and what a click on it asks the player to do. This one
// table is read by the skin reader, the bar and the panel alike.
#include <array>
#include <cstdint>
#include <string_view>

#include "model/action_info.h"

namespace kiv {

struct TNavAction {
  std::u16string_view Name;  // lower case, as skins write it after "Action-"
  int32_t SkinType;          // the "ActionType" number of the name
  TKivActionType Action;     // what a click carries out
  int32_t Number;            // the action's number (home: the first slide)
};

inline constexpr std::array<TNavAction, 7> kNavActions{{
    {u"home", 1, kActionGoToSlide, 0},
    {u"backward", 2, kActionPrevSlide, 0},
    {u"forward", 3, kActionNextSlide, 0},
    {u"pause", 4, kActionPause, 0},
    {u"print", 5, kActionPrint, 0},
    {u"help", 6, kActionHelp, 0},
    {u"exit", 7, kActionExit, 0},
}};

// The entry named name (case ignored), or null.
const TNavAction* FindNavAction(std::u16string_view name);

// The "ActionType" number of name: 0 for names the bar does not know.
int32_t NavSkinActionType(std::u16string_view name);

// What a click on the button named name carries out; no action for unknown names.
TKivActionInfo NavCommandAction(std::u16string_view name);

}  // namespace kiv
