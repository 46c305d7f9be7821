#include "graphics/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <vector>

#include "base/progress_hook.h"

namespace kiv {

namespace {

// One libpng reader over data in memory. libpng reports errors by calling the error
// function, which must not return: it longjmps to the reader's jump buffer. The
// functions that call setjmp (RunHeaderRead, RunDecode) and every frame the jump
// crosses hold no objects with destructors; the session's C++ parts live in the caller.
struct TPngSession {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  std::span<const uint8_t> Data;
  size_t Position = 0;

  explicit TPngSession(std::span<const uint8_t> data) : Data(data) {
    Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, EscapeOnError, IgnoreWarning);
    if (Png) Info = png_create_info_struct(Png);
    if (Info) png_set_read_fn(Png, this, ReadFromMemory);
  }
  ~TPngSession() { png_destroy_read_struct(&Png, &Info, nullptr); }
  TPngSession(const TPngSession&) = delete;
  TPngSession& operator=(const TPngSession&) = delete;

  bool Usable() const { return Info != nullptr; }

  [[noreturn]] static void EscapeOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
  static void IgnoreWarning(png_structp, png_const_charp) {}

  static void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    TPngSession& session = *static_cast<TPngSession*>(png_get_io_ptr(png));
    // A true answer asks the program's loaders to stop: the picture stays as far as it got.
    if (ProgressHook()) png_error(png, "Stopped");
    if (count > session.Data.size() - session.Position) png_error(png, "Truncated PNG data");
    std::copy_n(session.Data.data() + session.Position, count, out);
    session.Position += count;
  }
};

void ReadInfo(TPngSession& session) {
  // libpng refuses larger pictures itself, before it allocates for them.
  png_set_user_limits(session.Png, kMaxPictureSide, kMaxPictureSide);
  png_read_info(session.Png, session.Info);
}

bool RunHeaderRead(TPngSession& session, TPngHeader& header) {
  if (setjmp(png_jmpbuf(session.Png))) return false;
  ReadInfo(session);
  header.Width = int(png_get_image_width(session.Png, session.Info));
  header.Height = int(png_get_image_height(session.Png, session.Info));
  header.HasAlpha = (png_get_color_type(session.Png, session.Info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                    png_get_valid(session.Png, session.Info, PNG_INFO_tRNS) != 0;
  return true;
}

bool RunDecode(TPngSession& session, TBitmap& target, png_bytepp rows) {
  if (setjmp(png_jmpbuf(session.Png))) return false;
  ReadInfo(session);
  png_structp png = session.Png;
  if (int(png_get_image_width(png, session.Info)) != target.Width() ||
      int(png_get_image_height(png, session.Info)) != target.Height())
    return false;
  png_set_expand(png);  // palette to colours, grey below 8 bits to 8 bits, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, session.Info);
  if (png_get_rowbytes(png, session.Info) != size_t(target.Width()) * size_t(BytesPerPixel(target.Format())))
    return false;
  png_read_image(png, rows);
  return true;
}

}  // namespace

std::optional<TPngHeader> ReadPngHeader(std::span<const uint8_t> data) {
  TPngSession session(data);
  TPngHeader header;
  if (!session.Usable() || !RunHeaderRead(session, header) || !AllowedPictureSize(header.Width, header.Height))
    return std::nullopt;
  return header;
}

bool DecodePng(std::span<const uint8_t> data, TBitmap& target) {
  std::vector<png_bytep> rows(size_t(target.Height()));
  for (int y = 0; y < target.Height(); ++y) rows[size_t(y)] = target.Row(y);
  TPngSession session(data);
  return session.Usable() && RunDecode(session, target, rows.data());
}

}  // namespace kiv
