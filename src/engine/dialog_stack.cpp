#include "engine/dialog_stack.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/clock.h"
#include "base/log.h"
#include "base/text.h"

namespace kiv {

bool TDialogStack::AnyClosing() const {
  return std::any_of(FEntries.begin(), FEntries.end(), [](const TEntry& entry) { return entry.Closing; });
}

size_t TDialogStack::IndexOrTop(int index) const {
  return index >= 0 && size_t(index) < FEntries.size() ? size_t(index) : FEntries.size() - 1;
}

int TDialogStack::Find(std::u16string_view name) const {
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Dialog->DialogName() == name) return int(i);
  return -1;
}

bool TDialogStack::HoldsShow() const {
  return std::any_of(FEntries.begin(), FEntries.end(), [](const TEntry& entry) { return entry.Dialog->PausesShow(); });
}

void TDialogStack::Open(std::unique_ptr<TKivDialog> dialog) {
  if (!dialog || AnyClosing()) return;
  if (const int open = Find(dialog->DialogName()); open >= 0) {
    CloseAt(open);
    return;
  }
  Log().Write("TDialogStack: \"" + Utf16ToUtf8(dialog->DialogName()) + "\" opens");
  dialog->SetFade(0);
  FEntries.push_back({std::move(dialog), Clock().NowMs(), false});
}

void TDialogStack::CloseAt(int index) {
  if (FEntries.empty()) return;
  TEntry& entry = FEntries[IndexOrTop(index)];
  if (entry.Closing) return;
  entry.Closing = true;
  // A dialog still fading in turns round from the opacity it reached.
  const double shown = entry.Dialog->Fade() * kFadeMs / 100;
  entry.FadeStart = Clock().NowMs() - uint32_t(std::lround(kFadeMs - shown));
}

void TDialogStack::RemoveAt(int index) {
  if (FEntries.empty()) return;
  const auto at = FEntries.begin() + std::ptrdiff_t(IndexOrTop(index));
  FRemoved.push_back(std::move(at->Dialog));
  FEntries.erase(at);
}

void TDialogStack::CloseOnNavigation() {
  std::vector<size_t> holding;
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Dialog->PausesShow()) holding.push_back(i);
  if (holding.empty()) return;
  const TKivDialog* topMost = FEntries[holding.back()].Dialog.get();
  // From the top down, so that the indices below stay valid.
  for (size_t n = holding.size() - 1; n-- > 0;) RemoveAt(int(holding[n]));
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Dialog.get() == topMost) CloseAt(int(i));
}

bool TDialogStack::Update() {
  const uint32_t now = Clock().NowMs();
  bool changed = false;
  for (size_t i = FEntries.size(); i-- > 0;) {
    TEntry& entry = FEntries[i];
    const double progress = std::min(100.0, double(now - entry.FadeStart) * 100 / kFadeMs);
    const float fade = float(entry.Closing ? 100 - progress : progress);
    if (std::abs(fade - entry.Dialog->Fade()) > 0.001f) {
      entry.Dialog->SetFade(fade);
      changed = true;
    }
    if (entry.Closing && entry.Dialog->Fade() < 1) {
      Log().Write("TDialogStack: \"" + Utf16ToUtf8(entry.Dialog->DialogName()) + "\" closed");
      RemoveAt(int(i));
      changed = true;
    }
  }
  return changed;
}

void TDialogStack::EndFades() {
  const uint32_t now = Clock().NowMs();
  for (TEntry& entry : FEntries) entry.FadeStart = now - kFadeMs;
}

std::vector<std::unique_ptr<TKivDialog>> TDialogStack::TakeRemoved() { return std::exchange(FRemoved, {}); }

}  // namespace kiv
