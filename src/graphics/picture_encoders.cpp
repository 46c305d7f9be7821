#include "graphics/picture_encoders.h"

#include <png.h>

#include <memory>

#include "graphics/bitmap_convert.h"

namespace kiv {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// libpng reports errors through longjmp: no object with a destructor may live here.
bool WritePngRows(const TBitmap& picture, std::vector<uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  if (picture.Format() == TPixelFormat::Bgra32) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < picture.Height(); ++y) png_write_row(png, picture.Row(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const TBitmap& picture) {
  std::unique_ptr<TBitmap> converted;
  const TBitmap* rows = &picture;
  if (picture.Format() != TPixelFormat::Bgr24) {
    converted = ConvertBitmap(picture, TPixelFormat::Bgr24);
    if (!converted) return {};
    rows = converted.get();
  }
  const uint32_t lineBytes = (uint32_t(rows->Width()) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = lineBytes * uint32_t(rows->Height());
  constexpr uint32_t kHeaders = 14 + 40;
  std::vector<uint8_t> out;
  out.reserve(kHeaders + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kHeaders + pixelBytes);
  Put32(out, 0);
  Put32(out, kHeaders);
  Put32(out, 40);
  Put32(out, uint32_t(rows->Width()));
  Put32(out, uint32_t(rows->Height()));  // positive: bottom-up
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);  // no compression
  Put32(out, pixelBytes);
  Put32(out, 3780);  // 96 dots per inch
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = rows->Height() - 1; y >= 0; --y) {
    const uint8_t* row = rows->Row(y);
    out.insert(out.end(), row, row + size_t(rows->Width()) * 3);
    out.resize(out.size() + (lineBytes - uint32_t(rows->Width()) * 3), 0);
  }
  return out;
}

std::vector<uint8_t> EncodePng(const TBitmap& picture) {
  if (picture.Format() != TPixelFormat::Bgr24 && picture.Format() != TPixelFormat::Bgra32) return {};
  std::vector<uint8_t> out;
  if (!WritePngRows(picture, out)) return {};
  return out;
}

}  // namespace kiv
