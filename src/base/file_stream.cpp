#include "base/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kiv {

TFileStream::TFileStream(const std::string& path, TFileMode mode) : FPath(path) {
  int flags = mode == TFileMode::OpenRead ? O_RDONLY
              : mode == TFileMode::OpenReadWrite ? O_RDWR
                                                 : O_RDWR | O_CREAT | O_TRUNC;
  FHandle = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (FHandle < 0) {
    const char* verb = mode == TFileMode::Create ? "Cannot create file \"" : "Cannot open file \"";
    throw EFOpenError(verb + path + "\". " + std::strerror(errno));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::GetPosition() { return ::lseek(FHandle, 0, SEEK_CUR); }

void TFileStream::SetPosition(int64_t position) {
  if (position < 0 || ::lseek(FHandle, position, SEEK_SET) < 0)
    throw EStreamError("Stream position out of range");
}

int64_t TFileStream::GetSize() {
  struct stat st;
  return ::fstat(FHandle, &st) == 0 ? int64_t(st.st_size) : -1;
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0 || ::ftruncate(FHandle, size) != 0) throw EStreamError("Stream size out of range");
  if (GetPosition() > size) SetPosition(size);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  ssize_t n;
  do n = ::read(FHandle, buffer, size_t(count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(FHandle, bytes + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

}  // namespace kiv
