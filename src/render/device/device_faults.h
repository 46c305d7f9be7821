#pragma once
// OpenGL contexts are not lost the way the player's devices may be, so the loss path is
// exercised on request: after InjectDeviceLoss the next renderer call, on whichever
// renderer comes first, ends as if its device had been lost.

namespace kiv {

void InjectDeviceLoss();
// True once per injected loss.
bool TakeInjectedDeviceLoss();

}  // namespace kiv
