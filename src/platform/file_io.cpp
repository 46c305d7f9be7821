#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kiv {

int OpenFile(const std::string& path, TFileOpening opening) {
  const int flags = opening == TFileOpening::Read        ? O_RDONLY
                    : opening == TFileOpening::ReadWrite ? O_RDWR
                                                         : O_RDWR | O_CREAT | O_TRUNC;
  return ::open(path.c_str(), flags | O_CLOEXEC, 0644);
}

void CloseFile(int file) {
  if (file >= 0) ::close(file);
}

int64_t FilePosition(int file) { return ::lseek(file, 0, SEEK_CUR); }

bool SetFilePosition(int file, int64_t position) { return position >= 0 && ::lseek(file, position, SEEK_SET) >= 0; }

int64_t FileSize(int file) {
  struct stat st;
  return ::fstat(file, &st) == 0 ? int64_t(st.st_size) : -1;
}

bool SetFileSize(int file, int64_t size) { return size >= 0 && ::ftruncate(file, size) == 0; }

int64_t ReadFile(int file, void* buffer, int64_t count) {
  ssize_t n;
  do n = ::read(file, buffer, size_t(count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : n;
}

int64_t WriteFile(int file, const void* buffer, int64_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(file, bytes + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

std::string LastErrorText() { return std::strerror(errno); }

}  // namespace kiv
