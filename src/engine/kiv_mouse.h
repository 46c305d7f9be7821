#pragma once
// The mouse as the main window hands it to the engine, which hit-tests the overlay and
// the slides with it.
#include <cstdint>
#include <optional>

#include "base/thread_event_list.h"
#include "model/action_info.h"

namespace kiv {

enum class TMouseEvent : uint8_t { Move, Press, Release, DoubleClick };

struct TKivMouseRecord {
  TMouseEvent Event = TMouseEvent::Move;
  int32_t Button = 0;     // TMouseButton: 1 left, 2 right, 4 middle
  int32_t X = 0;
  int32_t Y = 0;
  uint32_t KeyState = 0;  // modifier and button bits
  int32_t Wheel = 0;

  // The same pointer without its one-shot event, for hover re-tests on later frames.
  TKivMouseRecord Retest() const { return {TMouseEvent::Move, 0, X, Y, KeyState, 0}; }
};

struct TMouseRequest : TMessageData {
  TKivMouseRecord Mouse;
  // Carried out when no object under the pointer takes the click.
  std::optional<TKivActionInfo> Action;
};

}  // namespace kiv
