#include "kivshow/png_writer.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "base/errors.h"
#include "graphics/picture_encoders.h"

namespace kiv {

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void WritePng(const TBitmap& frame, const std::string& path) {
  KIV_ASSERT(frame.Format() == TPixelFormat::Bgr24 || frame.Format() == TPixelFormat::Bgra32);
  const std::vector<uint8_t> bytes = EncodePng(frame);
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw EKivError(path + ": cannot be written");
  const bool written = !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  if (!written || std::fflush(file.get()) != 0) throw EKivError(path + ": writing the picture failed");
}

}  // namespace kiv
