#include "engine/input_mapping.h"

#include <cstdlib>

namespace kiv {

namespace {

constexpr uint8_t kModifierMask = kStateShift | kStateAlt | kStateCtrl;  // the Windows key is not told apart

TKivActionInfo Action(TKivActionType type, int32_t number = 0) { return {type, number, {}}; }

}  // namespace

TKivActionInfo MouseOptionAction(std::u16string_view value) {
  if (value == u"Exit") return Action(kActionExit);
  if (value == u"Next slide") return Action(kActionNextSlide);
  if (value == u"Prev. slide") return Action(kActionPrevSlide);
  if (value == u"Help") return Action(kActionHelp);
  if (value == u"Pause") return Action(kActionPause);
  if (value == u"Go to first") return Action(kActionGoToSlide, 0);
  return {};
}

TInputMappingClass::TInputMappingClass(const TIniStorage& project)
    : FLeftMouse(MouseOptionAction(project.ReadString(u"main", u"opt_leftmouse", u""))),
      FRightMouse(MouseOptionAction(project.ReadString(u"main", u"opt_rightmouse", u""))),
      FDoubleClick(MouseOptionAction(project.ReadString(u"main", u"opt_dblclick", u""))),
      FControlPermitted(project.ReadBool(u"main", u"opt_synchpermitcontrol", true)),
      FScreenSaver(project.ReadBool(u"main", u"opt_ssaver", false)),
      FExitMapping{0, 0, kKeyDownEvent, Action(kActionExit)} {
  if (FScreenSaver || project.ReadBool(u"main", u"opt_exitonmove", false)) FMoveDetector.emplace(0);
  Add(kKeyEscape, 0, Action(kActionExit));
  if (FControlPermitted) {
    for (const int key : {kKeySpace, kKeyPause, kKeyMediaPlayPause}) Add(key, 0, Action(kActionPause));
    Add(kKeyP, kStateCtrl, Action(kActionPause));
    Add(kKeyMediaStop, 0, Action(kActionStop));
    for (const int key : {kKeyLeft, kKeyPageUp, kKeyBrowserBack, kKeyMediaPrevious}) Add(key, 0, Action(kActionPrevSlide));
    for (const int key : {kKeyRight, kKeyPageDown, kKeyBrowserForward, kKeyMediaNext}) Add(key, 0, Action(kActionNextSlide));
    Add(kKeyHome, 0, Action(kActionGoToSlide, 0));
    Add(kKeyEnd, 0, Action(kActionGoToSlide, project.ReadInteger(u"main", u"opt_slidescount", 0)));
  }
  if (!project.ReadBool(u"main", u"opt_lockf1", false)) Add(kKeyF1, 0, Action(kActionHelp));
}

void TInputMappingClass::Add(int keyCode, uint8_t modifierValue, TKivActionInfo action) {
  FKeys[size_t(keyCode)].push_back({kModifierMask, modifierValue, kKeyDownEvent, std::move(action)});
}

const TKeyMap* TInputMappingClass::MapKey(uint32_t modifiers, int keyCode, uint8_t kind) const {
  if (FScreenSaver) return &FExitMapping;
  if (keyCode < 0 || keyCode >= int(FKeys.size())) return nullptr;
  for (const TKeyMap& map : FKeys[size_t(keyCode)])
    if (map.Kind == kind && (modifiers & map.ModifierMask) == map.ModifierValue) return &map;
  return nullptr;
}

TKivActionInfo TInputMappingClass::MapMouse(uint32_t keyState, int32_t x, TMouseEvent event, int32_t button,
                                            int32_t y) {
  constexpr uint32_t kButtonBits = kStateLeftButton | kStateRightButton | kStateMiddleButton;
  if (FScreenSaver && (button != 0 || (keyState & kButtonBits) != 0)) return Action(kActionExit);
  // More than 5 pixels (|dx| + |dy|) from where the pointer was first seen.
  if (FMoveDetector && (FMoveDetector->Move(x, y) || FMoveDetector->Moves() > 0)) return Action(kActionExit);
  if (event == TMouseEvent::Press && button == kLeftButton) return FLeftMouse;
  if (event == TMouseEvent::Press && button == kRightButton) return FRightMouse;
  if (event == TMouseEvent::DoubleClick && button == kLeftButton) return FDoubleClick;
  return {};
}

bool TInputMappingClass::ReleasesStop(int keyCode) {
  switch (keyCode) {
    case kKeyPause:
    case kKeySpace:
    case kKeyPageDown:
    case kKeyRight:
    case kKeyBrowserForward:
    case kKeyMediaNext:
    case kKeyMediaPlayPause:
      return true;
    default:
      return false;
  }
}

}  // namespace kiv
