#pragma once
// What the main thread may know of the engine's state between position reports. The
// engine publishes a copy once per turn; the main thread reads copies.
#include <mutex>
#include <string>

namespace kiv {

struct TEngineStatus {
  bool Active = false;     // the show clock runs
  bool AtStop = false;     // the clock stands at a stop point waiting for the user
  bool Hover = false;      // the pointer is over an object with an action
  std::string HoverClass;  // that object's class, or "NavPanel" over the navigation panel
  bool DialogOpen = false;
  bool DialogHolds = false;  // an open dialog holds the show
  bool operator==(const TEngineStatus&) const = default;
};

class TEngineStatusBoard {
 public:
  void Publish(const TEngineStatus& status) {
    std::lock_guard lock(FLock);
    FStatus = status;
  }
  TEngineStatus Read() const {
    std::lock_guard lock(FLock);
    return FStatus;
  }

 private:
  mutable std::mutex FLock;
  TEngineStatus FStatus;
};

}  // namespace kiv
