#include "container/kiv_pack.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#include "base/file_stream.h"
#include "base/guid.h"
#include "base/memory_stream.h"
#include "base/text.h"
#include "container/crypt_stream.h"

namespace kiv {

namespace {

constexpr size_t kPieceSize = 65536;

// The output seen from the first byte of one entry: positions count from there, so a
// cipher layer on top takes its key phase from the position inside the entry.
class TEntrySink final : public TStream {
 public:
  explicit TEntrySink(TStream& output) : FOutput(output), FStart(output.GetPosition()) {}

  int64_t Start() const { return FStart; }
  int64_t GetPosition() override { return FOutput.GetPosition() - FStart; }
  void SetPosition(int64_t position) override { FOutput.SetPosition(FStart + position); }
  int64_t GetSize() override { return FOutput.GetSize() - FStart; }
  void SetSize(int64_t) override { throw EStreamError("Stream Cannot be resized"); }
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* buffer, int64_t count) override { return FOutput.Write(buffer, count); }

 private:
  TStream& FOutput;
  int64_t FStart;
};

// A raw deflate stream (no zlib header or checksum) written to a target as it is made.
class TRawDeflater {
 public:
  explicit TRawDeflater(TStream& target) : FTarget(target), FOut(kPieceSize) {
    if (deflateInit2(&FZ, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw EKivError("Deflate cannot start");
  }
  ~TRawDeflater() { deflateEnd(&FZ); }
  TRawDeflater(const TRawDeflater&) = delete;
  TRawDeflater& operator=(const TRawDeflater&) = delete;

  void Put(const uint8_t* bytes, size_t count) {
    while (count > 0) {
      const size_t piece = std::min(count, kPieceSize);
      Run(bytes, piece, Z_NO_FLUSH);
      bytes += piece;
      count -= piece;
    }
  }
  void Finish() { Run(nullptr, 0, Z_FINISH); }

 private:
  // Feeds the bytes and writes out whatever deflate produces until it asks for more
  // input (or, when finishing, until the stream is complete).
  void Run(const uint8_t* bytes, size_t count, int flush) {
    FZ.next_in = const_cast<Bytef*>(bytes);
    FZ.avail_in = uInt(count);
    do {
      FZ.next_out = FOut.data();
      FZ.avail_out = uInt(FOut.size());
      if (deflate(&FZ, flush) == Z_STREAM_ERROR) throw EKivError("Deflate failed");
      FTarget.WriteBuffer(FOut.data(), int64_t(FOut.size() - FZ.avail_out));
    } while (FZ.avail_out == 0);
  }

  TStream& FTarget;
  std::vector<uint8_t> FOut;
  z_stream FZ{};
};

// One entry on its way to the output: stored, deflated or enciphered.
class TEntryEncoder {
 public:
  TEntryEncoder(TStream& output, TPackMode mode) : FSink(output) {
    switch (mode) {
      case TPackMode::Stored:
        break;
      case TPackMode::Deflated:
        FDeflater.emplace(FSink);
        break;
      case TPackMode::Enciphered:
        FCipher.emplace(&FSink, ContainerKey, false);
        break;
      default:
        KIV_FAIL("Unknown pack mode");
    }
  }

  void Put(const uint8_t* bytes, size_t count) {
    if (FDeflater)
      FDeflater->Put(bytes, count);
    else if (FCipher)
      FCipher->WriteBuffer(bytes, int64_t(count));
    else
      FSink.WriteBuffer(bytes, int64_t(count));
  }
  // The entry's stored size.
  int64_t Finish() {
    if (FDeflater) FDeflater->Finish();
    return FSink.GetPosition();
  }
  int64_t Start() const { return FSink.Start(); }

 private:
  TEntrySink FSink;
  std::optional<TRawDeflater> FDeflater;
  std::optional<TCryptStream> FCipher;
};

bool HasLineBreak(std::u16string_view name) { return name.find_first_of(u"\r\n") != std::u16string_view::npos; }

// Hands out bytes held in memory piece by piece, as entries are encoded.
auto PiecesOf(std::span<const uint8_t> bytes) {
  return [bytes](uint8_t* buffer, size_t capacity) mutable {
    const size_t n = std::min(capacity, bytes.size());
    if (n > 0) std::memcpy(buffer, bytes.data(), n);
    bytes = bytes.subspan(n);
    return n;
  };
}

}  // namespace

TKivPack::TKivPack(TStream& output, std::u16string_view programName) : FOutput(output) {
  CheckNewName(programName);
  RecordEntry(programName, 0, output.GetPosition(), TPackMode::Stored);
}

TKivPack::TKivPack(TStream& output) : FOutput(output) {}

bool TKivPack::HasEntry(std::u16string_view name) const { return FIndex.SectionExists(EntrySectionName(name)); }

void TKivPack::CheckNewName(std::u16string_view name) const {
  if (name.empty()) throw EKivError("Entry name is empty");
  if (HasLineBreak(name)) throw EKivError("Entry name holds a line break: " + Utf16ToUtf8(name));
  if (SameTextIgnoringCase(name, kProtectionSection) || SameTextIgnoringCase(name, kExeGuidEntry))
    throw EKivError("Entry name is reserved: " + Utf16ToUtf8(name));
  if (HasEntry(name)) throw EKivError("Duplicate entry: " + Utf16ToUtf8(name));
}

void TKivPack::RecordEntry(std::u16string_view name, int64_t position, int64_t size, TPackMode mode) {
  const std::u16string section = EntrySectionName(name);
  FIndex.WriteString(section, kEntryPosition, IntToText(position));
  FIndex.WriteString(section, kEntrySize, IntToText(size));
  if (mode != TPackMode::Stored) FIndex.WriteString(section, kEntryPackMode, IntToText(int(mode)));
}

template <typename NextPiece>
void TKivPack::AddEntry(std::u16string_view name, TPackMode mode, NextPiece next) {
  KIV_ASSERT(!FFinished);
  TEntryEncoder encoder(FOutput, mode);
  std::vector<uint8_t> piece(kPieceSize);
  for (size_t n; (n = next(piece.data(), piece.size())) > 0;) encoder.Put(piece.data(), n);
  const int64_t size = encoder.Finish();
  RecordEntry(name, encoder.Start(), size, mode);
  ++FEntryCount;
  FStoredBytes += size;
}

void TKivPack::AddBytes(std::u16string_view name, std::span<const uint8_t> bytes, TPackMode mode) {
  CheckNewName(name);
  AddEntry(name, mode, PiecesOf(bytes));
}

void TKivPack::AddStream(std::u16string_view name, TStream& source, TPackMode mode) {
  CheckNewName(name);
  AddEntry(name, mode, [&source](uint8_t* buffer, size_t capacity) {
    return size_t(std::max<int64_t>(source.Read(buffer, int64_t(capacity)), 0));
  });
}

void TKivPack::AddFile(std::u16string_view name, const std::string& utf8Path, TPackMode mode) {
  TFileStream file(utf8Path, TFileMode::OpenRead);
  AddStream(name, file, mode);
}

void TKivPack::AddAlias(std::u16string_view name, std::u16string_view existingName) {
  KIV_ASSERT(!FFinished);
  const TIniSection* existing = FIndex.FindSection(EntrySectionName(existingName));
  if (!existing) throw EKivError("No entry to alias: " + Utf16ToUtf8(existingName));
  const std::u16string position = existing->ReadString(kEntryPosition, u"");
  const std::u16string size = existing->ReadString(kEntrySize, u"");
  const std::u16string mode = existing->ReadString(kEntryPackMode, u"");
  CheckNewName(name);
  const std::u16string section = EntrySectionName(name);
  FIndex.WriteString(section, kEntryPosition, position);
  FIndex.WriteString(section, kEntrySize, size);
  if (!mode.empty()) FIndex.WriteString(section, kEntryPackMode, mode);
}

void TKivPack::Finish(const TKivPackFinish& finish) {
  KIV_ASSERT(!FFinished);
  AddEntry(kExeGuidEntry, TPackMode::Stored, PiecesOf(ExeGuidBytes(NewGuidText())));

  const int64_t indexPosition = FOutput.GetPosition();
  FIndex.WriteString(kProtectionSection, kVersionKey, finish.Version);
  FIndex.WriteString(kProtectionSection, kStrucPosKey, IntToText(indexPosition));
  FIndex.WriteString(kProtectionSection, kAllowModifyKey, finish.AllowModify ? u"1" : u"0");
  TMemoryStream text;
  if (!FIndex.SaveToStream(text)) throw EKivError("The index cannot be written");
  TRawDeflater deflater(FOutput);
  deflater.Put(text.Bytes().data(), text.Bytes().size());
  deflater.Finish();

  std::array<uint8_t, kLongTrailerSize> trailer{};
  PutInt64(trailer.data(), indexPosition);
  std::memcpy(trailer.data() + 8, kTrailerMark, sizeof kTrailerMark);
  const int64_t blockEnd = FOutput.GetPosition() + kShortTrailerSize;
  PutInt64(trailer.data() + kShortTrailerSize, blockEnd);
  FOutput.WriteBuffer(trailer.data(), finish.ShortTrailer ? kShortTrailerSize : kLongTrailerSize);
  FFinished = true;
}


}  // namespace kiv
