#pragma once
// What a key, a click, a timed slide action or the navigation panel asks the player to do.
#include <cstdint>
#include <string>

namespace kiv {

enum class TActionType : uint8_t {
  None = 0,
  Exit = 1,
  PrevSlide = 2,
  NextSlide = 3,
  Help = 4,
  Pause = 5,             // pause or resume
  Print = 6,             // print the current slide
  GoToSlide = 7,         // Number: 1-based slide (0 for the first); -1: the slide named by Text
  OpenWebSite = 8,       // Text: the address
  WriteEmail = 9,        // Text: the address
  RunApp = 10,           // Text: the command list
  RunAppAndExit = 11,    // Text: the command list
  RunPresentation = 12,  // Text: the show and its start options
  Stop = 13,             // pause at the start of the show
  RunPresentationAndReturn = 14,
  OpenDialog = 15,     // Text: the dialog name
  CloseDialog = 16,    // with no dialog open: end with exit code 1
  SaveSlide = 17,      // not carried out by the player
  ChangePrinter = 18,  // not carried out by the player
  GoToTime = 19,       // Number: show time in ms
};

struct TKivActionInfo {
  TActionType Type = TActionType::None;
  int32_t Number = 0;
  std::u16string Text;

  bool Empty() const { return Type == TActionType::None; }
  bool operator==(const TKivActionInfo&) const = default;
};

}  // namespace kiv
