#pragma once
// Watches the pointer over the show's window: when it comes in and goes out, when it
// should hide after resting a while, and when a move shows it again. The window calls
// Check on its activation and on every mouse event, MoveCheck on moves, and Check
// every kCheckInterval ms while the pointer is inside. Main thread; times come from
// kiv::Clock().
#include <cstdint>
#include <functional>

#include "engine/show_pointer.h"

namespace kiv {

class TMouseMonitor {
 public:
  static constexpr uint32_t kCheckInterval = 20;  // ms
  static constexpr int32_t kMoveToShow = 4;       // pixels in x or in y

  explicit TMouseMonitor(const IShowPointer& pointer);

  // Called by Check first, whatever else happens.
  std::function<void()> OnCheck;
  // The pointer came in or went out.
  std::function<void()> OnEnter;
  std::function<void()> OnLeave;
  // Hidden() changed.
  std::function<void()> OnHiddenChanged;

  // 0: the pointer never hides by itself; else it hides after resting that many ms.
  void SetHideInterval(uint32_t ms) { FHideInterval = ms; }
  uint32_t HideInterval() const { return FHideInterval; }
  // Records the moment and where the pointer is; tells when the state changes.
  void SetHidden(bool hidden);
  bool Hidden() const { return FHidden; }
  bool IsInside() const { return FInside; }
  // Whether Check should run every kCheckInterval ms.
  bool TimerRunning() const { return FInside; }

  void Check();
  // With a hide interval, a move of more than kMoveToShow pixels from where the pointer
  // last hid or showed shows it.
  void MoveCheck();

 private:
  const IShowPointer& FPointer;
  bool FInside = false;
  uint32_t FHideInterval = 0;
  bool FHidden = false;
  TPointerState FChangePosition;
  uint32_t FChangeTick;
};

}  // namespace kiv
