// Feeds arbitrary bytes to the show-container reader, two ways: as a whole file (so the
// trailer and the deflated index are attacked too), and as the text of an index that is
// deflated and framed correctly (so entry positions, sizes and pack modes are attacked).
// Every entry that opens is read to its end.
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "container/container_format.h"
#include "container/kiv_unpack.h"

namespace {

std::vector<uint8_t> FramedIndex(const uint8_t* text, size_t size) {
  std::vector<uint8_t> file(256, 0x5A);  // stands for the program image and the entries
  const int64_t indexPosition = int64_t(file.size());
  uLong bound = compressBound(uLong(size)) + 64;
  std::vector<uint8_t> packed(bound);
  z_stream z{};
  deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  z.next_in = const_cast<Bytef*>(text);
  z.avail_in = uInt(size);
  z.next_out = packed.data();
  z.avail_out = uInt(packed.size());
  deflate(&z, Z_FINISH);
  packed.resize(z.total_out);
  deflateEnd(&z);
  file.insert(file.end(), packed.begin(), packed.end());
  uint8_t trailer[kiv::kLongTrailerSize];
  kiv::PutInt64(trailer, indexPosition);
  std::copy(kiv::kTrailerMark, kiv::kTrailerMark + 4, trailer + 8);
  kiv::PutInt64(trailer + 12, int64_t(file.size()) + kiv::kShortTrailerSize);
  file.insert(file.end(), trailer, trailer + kiv::kLongTrailerSize);
  return file;
}

const std::string& ScratchPath() {
  static const std::string path = "/tmp/kiv_container_fuzz_" + std::to_string(::getpid());
  return path;
}

void ReadEveryEntry(const std::string& path) {
  kiv::TKivUnpack show(path);
  if (!show.Usable()) return;
  std::vector<uint8_t> piece(65536);
  for (const std::u16string& name : show.EntryNames())
    if (auto entry = show.OpenEntry(name))
      while (entry->Read(piece.data(), int64_t(piece.size())) > 0) {
      }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> file =
      data[0] & 1 ? FramedIndex(data + 1, size - 1) : std::vector<uint8_t>(data + 1, data + size);
  if (FILE* out = std::fopen(ScratchPath().c_str(), "wb")) {
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
  ReadEveryEntry(ScratchPath());
  std::remove(ScratchPath().c_str());  // each input writes it anew; none is left behind
  return 0;
}
