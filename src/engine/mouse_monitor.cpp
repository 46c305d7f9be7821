#include "engine/mouse_monitor.h"

#include <cstdlib>

#include "base/clock.h"

namespace kiv {

TMouseMonitor::TMouseMonitor(const IShowPointer& pointer) : FPointer(pointer), FChangeTick(Clock().NowMs()) {}

void TMouseMonitor::SetHidden(bool hidden) {
  FChangeTick = Clock().NowMs();
  FChangePosition = FPointer.Read();
  if (hidden == FHidden) return;
  FHidden = hidden;
  if (OnHiddenChanged) OnHiddenChanged();
}

void TMouseMonitor::Check() {
  if (OnCheck) OnCheck();
  const bool inside = FPointer.Read().Inside;
  if (inside != FInside) {
    FInside = inside;
    const std::function<void()>& told = inside ? OnEnter : OnLeave;
    if (told) told();
  }
  // Hiding again while hidden would move the mark a move is measured from, so that a
  // slow move would never show the pointer.
  if (FHideInterval >= 1 && !FHidden && Clock().NowMs() - FChangeTick > FHideInterval) SetHidden(true);
}

void TMouseMonitor::MoveCheck() {
  if (FHideInterval == 0) return;
  const TPointerState now = FPointer.Read();
  if (std::abs(int64_t(now.X) - FChangePosition.X) > kMoveToShow || std::abs(int64_t(now.Y) - FChangePosition.Y) > kMoveToShow)
    SetHidden(false);
}

}  // namespace kiv
