#include "kivshow/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>

#include "base/errors.h"

namespace kiv {

namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports errors through longjmp; they come back here as an exception-free
// failure of the whole write.
bool WriteRows(std::FILE* file, const TBitmap& frame) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(frame.Width()), png_uint_32(frame.Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (frame.Format() == TPixelFormat::Bgra32) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < frame.Height(); ++y) png_write_row(png, frame.Row(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void WritePng(const TBitmap& frame, const std::string& path) {
  KIV_ASSERT(frame.Format() == TPixelFormat::Bgr24 || frame.Format() == TPixelFormat::Bgra32);
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw EKivError(path + ": cannot be written");
  const bool written = WriteRows(file.get(), frame);
  if (!written || std::fflush(file.get()) != 0) throw EKivError(path + ": writing the picture failed");
}

}  // namespace kiv
