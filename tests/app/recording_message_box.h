#pragma once
// The messages of this process kept instead of shown, while the object lives.
#include <vector>

#include "app/message_box.h"

namespace kiv {

class TRecordingMessageBox : public IMessageBox {
 public:
  TRecordingMessageBox() : FPrevious(SetMessageBox(this)) {}
  ~TRecordingMessageBox() override { SetMessageBox(FPrevious); }
  void Show(const TMessage& message) override { Shown.push_back(message); }
  std::vector<TMessage> Shown;

 private:
  IMessageBox* FPrevious;
};

}  // namespace kiv
