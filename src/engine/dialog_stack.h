#pragma once
// The show's open dialogs, the last one on top. Each dialog fades in when it opens and
// out when it closes (200 ms on the process clock, which runs while the show is held),
// with a fade of its own: closing or removing one never touches another.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "model/kiv_dialog.h"

namespace kiv {

class TDialogStack {
 public:
  static constexpr uint32_t kFadeMs = 200;

  // Puts dialog on top and starts its fade-in. Ignored (the dialog is dropped) while a
  // dialog fades out; when a dialog of the same name is open, that one closes instead,
  // so that opening a dialog twice toggles it.
  void Open(std::unique_ptr<TKivDialog> dialog);
  // Starts the fade-out of the dialog at index; an index outside the stack means the
  // top one. Nothing happens on an empty stack or while that dialog already closes.
  void CloseAt(int index);
  // Takes the dialog at index (outside: the top one) out at once.
  void RemoveAt(int index);
  // Before the show moves to another slide: of the dialogs that hold the show, all
  // but the top-most go at once and that one closes with its fade.
  void CloseOnNavigation();
  // Moves every fade to now; a closed dialog goes once it has faded out. True when
  // some dialog changed its look or left.
  bool Update();
  // Every fade ends now: the next Update shows open dialogs fully and drops closed ones.
  void EndFades();

  // The index of the dialog opened by name, or -1.
  int Find(std::u16string_view name) const;
  bool Empty() const { return FEntries.empty(); }
  size_t Count() const { return FEntries.size(); }
  TKivDialog& At(size_t index) const { return *FEntries[index].Dialog; }
  bool Closing(size_t index) const { return FEntries[index].Closing; }
  // Some open dialog asks for the show to stand still ("DialogPause").
  bool HoldsShow() const;
  // The dialogs that left the stack since the last call: their device objects still
  // have to be handed back on the drawing side.
  std::vector<std::unique_ptr<TKivDialog>> TakeRemoved();
  bool HasRemoved() const { return !FRemoved.empty(); }

 private:
  struct TEntry {
    std::unique_ptr<TKivDialog> Dialog;
    uint32_t FadeStart = 0;  // ms, process clock
    bool Closing = false;
  };

  bool AnyClosing() const;
  size_t IndexOrTop(int index) const;

  std::vector<TEntry> FEntries;
  std::vector<std::unique_ptr<TKivDialog>> FRemoved;
};

}  // namespace kiv
