#pragma once
// A stream over an operating-system file. Paths are UTF-8 (the OS boundary).
#include <string>

#include "base/stream.h"

namespace kiv {

class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

enum class TFileMode { OpenRead, OpenReadWrite, Create };

class TFileStream : public TStream {
 public:
  // Fails with EFOpenError "Cannot open file "<path>". <reason>" (or "Cannot create file ...").
  TFileStream(const std::string& path, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t GetPosition() override;
  void SetPosition(int64_t position) override;
  int64_t GetSize() override;
  void SetSize(int64_t size) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;

  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  int FHandle = -1;
};

}  // namespace kiv
