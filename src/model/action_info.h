#pragma once
// What a key, a click, a timed slide action or the navigation panel asks the player to do.
#include <cstdint>
#include <string>

namespace kiv {

enum TKivActionType : uint8_t {
  kActionNone = 0,
  kActionExit = 1,
  kActionPrevSlide = 2,
  kActionNextSlide = 3,
  kActionHelp = 4,
  kActionPause = 5,      // pause or resume
  kActionPrint = 6,      // print the current slide
  kActionGoToSlide = 7,  // number 1-based (0: the first slide), or -1 with the slide name in the text
  kActionOpenWebSite = 8,
  kActionWriteEmail = 9,
  kActionRunApp = 10,
  kActionRunAppAndExit = 11,
  kActionRunPresentation = 12,
  kActionStop = 13,  // pause at the start of the show
  kActionRunPresentationAndReturn = 14,
  kActionOpenDialog = 15,     // text = dialog name
  kActionCloseDialog = 16,    // with no dialog open: end with exit code 1
  kActionSaveSlide = 17,      // not carried out by the player
  kActionChangePrinter = 18,  // not carried out by the player
  kActionGoToTime = 19,       // number = ms
};

struct TKivActionInfo {
  uint8_t Type = kActionNone;
  int32_t Number = 0;
  std::u16string Text;
  bool operator==(const TKivActionInfo&) const = default;
};

}  // namespace kiv
