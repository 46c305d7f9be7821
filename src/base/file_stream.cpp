#include "base/file_stream.h"

#include "platform/file_io.h"

namespace kiv {

namespace {

TFileOpening OpeningOf(TFileMode mode) {
  return mode == TFileMode::OpenRead        ? TFileOpening::Read
         : mode == TFileMode::OpenReadWrite ? TFileOpening::ReadWrite
                                            : TFileOpening::Create;
}

}  // namespace

TFileStream::TFileStream(const std::string& path, TFileMode mode) : FPath(path) {
  FHandle = OpenFile(path, OpeningOf(mode));
  if (FHandle < 0) {
    const char* verb = mode == TFileMode::Create ? "Cannot create file \"" : "Cannot open file \"";
    throw EFOpenError(verb + path + "\". " + LastErrorText());
  }
}

TFileStream::~TFileStream() { CloseFile(FHandle); }

int64_t TFileStream::GetPosition() { return FilePosition(FHandle); }

void TFileStream::SetPosition(int64_t position) {
  if (!SetFilePosition(FHandle, position)) throw EStreamError("Stream position out of range");
}

int64_t TFileStream::GetSize() { return FileSize(FHandle); }

void TFileStream::SetSize(int64_t size) {
  if (!SetFileSize(FHandle, size)) throw EStreamError("Stream size out of range");
  if (GetPosition() > size) SetPosition(size);
}

int64_t TFileStream::Read(void* buffer, int64_t count) { return ReadFile(FHandle, buffer, count); }

int64_t TFileStream::Write(const void* buffer, int64_t count) { return WriteFile(FHandle, buffer, count); }

}  // namespace kiv
