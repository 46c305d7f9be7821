#pragma once
// One running copy of a program at a time: a lock on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the file's name). The
// system drops the lock when the process ends, however it ends.
#include <string>
#include <string_view>

namespace kiv {

class TInstanceLock {
 public:
  // Tries to take the lock named key (letters, digits, ".", "-" and "_"; anything else
  // is written as "_").
  explicit TInstanceLock(std::string_view key);
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock&) = delete;
  TInstanceLock& operator=(const TInstanceLock&) = delete;

  // Another process holds the lock. A lock file that cannot be made or is not the
  // user's own tells nothing: no other instance is known then.
  bool OtherInstanceRuns() const { return FOtherRuns; }
  // The lock file's path for key.
  static std::string LockPath(std::string_view key);

 private:
  int FFile = -1;
  bool FOtherRuns = false;
};

}  // namespace kiv
