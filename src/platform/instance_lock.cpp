#include "platform/instance_lock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace kiv {

std::string TInstanceLock::LockPath(std::string_view key) {
  std::string name;
  for (const char c : key)
    name += std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_' ? c : '_';
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/') return std::string(runtime) + "/kivplayer-" + name + ".lock";
  // The temporary folder is everyone's: the user id keeps users apart.
  return "/tmp/kivplayer-" + std::to_string(::getuid()) + "-" + name + ".lock";
}

TInstanceLock::TInstanceLock(std::string_view key) {
  const std::string path = LockPath(key);
  // Never through a link another user may have laid in the temporary folder.
  FFile = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  struct stat info;
  if (FFile >= 0 && (::fstat(FFile, &info) != 0 || info.st_uid != ::getuid() || !S_ISREG(info.st_mode))) {
    ::close(FFile);
    FFile = -1;
  }
  if (FFile < 0) return;
  int result;
  while ((result = ::flock(FFile, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  FOtherRuns = result != 0 && errno == EWOULDBLOCK;
}

TInstanceLock::~TInstanceLock() {
  if (FFile >= 0) ::close(FFile);  // closing drops the lock; the file stays for the next run
}

}  // namespace kiv
