#pragma once
// Messages from the engine to the main thread, and the channel they travel through.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace kiv {

struct TKivEventData {
  int Code = 0;                    // TMainMessageCode
  std::vector<int32_t> Values;
  std::u16string Text;             // an action's text
  std::unique_ptr<TBitmap> Picture;  // a snapshot
};

// Implemented by the viewer: delivers a message to the main thread, where it is handed
// back to TCustomKivEngine::HandleMainMessage. Called from the engine thread.
class IMainThreadPoster {
 public:
  virtual ~IMainThreadPoster() = default;
  virtual void PostToMain(std::unique_ptr<TKivEventData> message) = 0;
};

}  // namespace kiv
