#pragma once
// A show action: what a key, a click, a timed slide point or the overlay asks for. The
// main window carries most of them out; the engine keeps the dialog ones.
#include <cstdint>
#include <string>

namespace kiv {

enum TKivActionType : uint8_t {
  kActionNone = 0,
  kActionExit = 1,
  kActionPrevSlide = 2,
  kActionNextSlide = 3,
  kActionHelp = 4,
  kActionPause = 5,
  kActionPrint = 6,
  kActionGoToSlide = 7,  // number 1-based, or -1 with the slide name in the text
  kActionOpenWebSite = 8,
  kActionWriteEmail = 9,
  kActionRunApp = 10,
  kActionRunAppAndExit = 11,
  kActionRunPresentation = 12,
  kActionStop = 13,
  kActionRunPresentationAndReturn = 14,
  kActionOpenDialog = 15,  // text = dialog name
  kActionCloseDialog = 16,
  kActionSaveSlide = 17,
  kActionChangePrinter = 18,
  kActionGoToTime = 19,  // number = ms
};

struct TKivActionInfo {
  uint8_t Type = kActionNone;
  int32_t Number = 0;
  std::u16string Text;
  bool operator==(const TKivActionInfo&) const = default;
};

}  // namespace kiv
