#pragma once
// The stream contract every file of a show is read through: signed 64-bit positions
// and sizes, a size of -1 when unknown, Read/Write returning how much moved.
#include <cstdint>

#include "base/errors.h"

namespace kiv {

class EStreamError : public EKivError {
 public:
  using EKivError::EKivError;
};
class EStreamReadError : public EStreamError {
 public:
  EStreamReadError() : EStreamError("Stream read error") {}
};
class EStreamWriteError : public EStreamError {
 public:
  EStreamWriteError() : EStreamError("Stream write error") {}
};

class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t GetPosition() = 0;
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t GetSize() = 0;
  virtual void SetSize(int64_t size) = 0;
  // Clear, copy the whole source from its start, restore the source's position,
  // and leave this stream at position 0.
  virtual void LoadFromStream(TStream& source);
  virtual void Clear();
  // Copies in pieces of at most 32768 bytes until count bytes moved or a read returns 0.
  virtual int64_t CopyFrom(TStream& source, int64_t count);
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;

  // Whole-buffer transfers: fewer bytes than asked raise a stream read or write error.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  uint8_t ReadByte();
  uint16_t ReadWord();    // little-endian
  uint32_t ReadDWord();   // little-endian
};

}  // namespace kiv
