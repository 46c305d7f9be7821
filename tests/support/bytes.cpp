#include "support/bytes.h"

#include <fstream>
#include <iterator>

#include "base/stream.h"

namespace kiv {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadAll(TStream& stream) {
  std::string bytes(size_t(stream.GetSize()), '\0');
  stream.ReadBuffer(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

std::string ReadAll(TStream* stream) { return stream ? ReadAll(*stream) : "<none>"; }

namespace {

void Write(const fs::path& path, const char* bytes, size_t size) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes, std::streamsize(size));
}

}  // namespace

void WriteAll(const fs::path& path, std::string_view bytes) { Write(path, bytes.data(), bytes.size()); }

void PutFileBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  Write(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace kiv
