#include "engine/custom_kiv_engine.h"

#include "engine/engine_messages.h"

namespace kiv {

void TCustomKivEngine::HandleMainMessage(TKivEventData& message) {
  switch (message.Code) {
    case kFirstFrameMessage:
      if (OnFirstFrame) OnFirstFrame();
      return;
    case kPositionMessage:
      if (message.Values.size() < 4 || message.Values[0] != LatestRequestNumber()) return;
      if (OnPosition) OnPosition(message.Values[1], message.Values[3] != 0, message.Values[2]);
      return;
    default:
      if (OnEvent) OnEvent(message);
  }
}

void TCustomKivEngine::PostToMain(int code, std::vector<int32_t> values, std::u16string text,
                                  std::unique_ptr<TBitmap> picture) {
  auto message = std::make_unique<TKivEventData>();
  message->Code = code;
  message->Values = std::move(values);
  message->Text = std::move(text);
  message->Picture = std::move(picture);
  FMainThread.PostToMain(std::move(message));
}

}  // namespace kiv
