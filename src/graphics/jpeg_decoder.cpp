#include "graphics/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared before it
#include <exception>
#include <vector>

#include <jpeglib.h>

#include "base/progress_hook.h"

namespace kiv {

namespace {

// Every scan of a progressive picture walks the whole picture, so a file with an endless
// run of tiny scans would mean endless work; real encoders write a few dozen at most.
constexpr int kMaxScans = 500;

// One libjpeg decompressor and what its callbacks need. The library reports fatal errors
// by calling error_exit, which must not return: it longjmps to Escape. The functions that
// call setjmp (RunHeaderRead, RunDecode) and every frame the jump crosses hold no
// objects with destructors; the session's C++ parts live in the caller.
struct TJpegSession {
  jpeg_decompress_struct Info{};
  jpeg_error_mgr Errors{};
  jpeg_progress_mgr Progress{};
  std::jmp_buf Escape{};
  const std::function<void(double)>* Listener = nullptr;
  std::exception_ptr ListenerFailure;

  TJpegSession() {
    Info.err = jpeg_std_error(&Errors);
    Errors.error_exit = EscapeOnError;
    Errors.output_message = IgnoreMessage;
    Info.client_data = this;
  }
  ~TJpegSession() { jpeg_destroy_decompress(&Info); }  // safe on a zeroed or half-made struct
  TJpegSession(const TJpegSession&) = delete;
  TJpegSession& operator=(const TJpegSession&) = delete;

  static TJpegSession& Of(j_common_ptr info) { return *static_cast<TJpegSession*>(info->client_data); }

  [[noreturn]] static void EscapeOnError(j_common_ptr info) { std::longjmp(Of(info).Escape, 1); }
  // Warnings about damaged data are counted by the library; nothing is printed.
  static void IgnoreMessage(j_common_ptr) {}

  static void MonitorProgress(j_common_ptr info) {
    TJpegSession& session = Of(info);
    if (session.Info.input_scan_number > kMaxScans || !session.Report(FractionDone(*info->progress)))
      std::longjmp(session.Escape, 1);
  }

  static double FractionDone(const jpeg_progress_mgr& progress) {
    if (progress.pass_limit <= 0 || progress.total_passes <= 0) return 0.0;
    const double pass = std::min(1.0, double(progress.pass_counter) / double(progress.pass_limit));
    return std::min(1.0, (progress.completed_passes + pass) / progress.total_passes);
  }

  // False when the decoding must stop: the program is stopping or the listener raised.
  bool Report(double fraction) noexcept {
    if (ProgressHook()) return false;
    try {
      if (*Listener) (*Listener)(fraction);
      return true;
    } catch (...) {
      ListenerFailure = std::current_exception();
      return false;
    }
  }
};

void BeginHeaderRead(TJpegSession& session, std::span<const uint8_t> data) {
  jpeg_create_decompress(&session.Info);
  jpeg_mem_src(&session.Info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&session.Info, TRUE);
}

bool RunHeaderRead(TJpegSession& session, std::span<const uint8_t> data) {
  if (setjmp(session.Escape)) return false;
  BeginHeaderRead(session, data);
  return true;
}

bool IsCmyk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// Pictures written by Adobe applications store CMYK inverted (255 = no ink).
void CmykRowToBgr(const uint8_t* cmyk, uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int channel = 0; channel < 3; ++channel) {
      const int ink = inverted ? cmyk[2 - channel] : 255 - cmyk[2 - channel];
      bgr[channel] = uint8_t((ink * k + 127) / 255);
    }
  }
}

// CMYK rows pass through cmykRow (4 bytes per pixel) on their way into target.
bool RunDecode(TJpegSession& session, std::span<const uint8_t> data, int scaleDenominator, TBitmap& target,
               uint8_t* cmykRow) {
  if (setjmp(session.Escape)) return false;
  BeginHeaderRead(session, data);
  jpeg_decompress_struct& info = session.Info;
  info.scale_num = 1;
  info.scale_denom = unsigned(scaleDenominator);
  if (info.num_components == 1)
    info.out_color_space = JCS_GRAYSCALE;
  else if (IsCmyk(info.jpeg_color_space))
    info.out_color_space = JCS_CMYK;
  else
    info.out_color_space = JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&info);
  const bool grey = info.out_color_space == JCS_GRAYSCALE;
  if (int(info.output_width) != target.Width() || int(info.output_height) != target.Height() ||
      grey != (target.Format() == TPixelFormat::Indexed8))
    return false;

  session.Progress.progress_monitor = TJpegSession::MonitorProgress;
  info.progress = &session.Progress;
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    const int y = int(info.output_scanline);
    JSAMPROW row = info.out_color_space == JCS_CMYK ? cmykRow : target.Row(y);
    if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    if (info.out_color_space == JCS_CMYK) CmykRowToBgr(cmykRow, target.Row(y), target.Width(), info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

std::optional<TJpegHeader> ReadJpegHeader(std::span<const uint8_t> data) {
  TJpegSession session;
  if (!RunHeaderRead(session, data)) return std::nullopt;
  return TJpegHeader{int(session.Info.image_width), int(session.Info.image_height), session.Info.num_components};
}

int JpegScaledSide(int side, int scaleDenominator) { return (side + scaleDenominator - 1) / scaleDenominator; }

bool DecodeJpeg(std::span<const uint8_t> data, int scaleDenominator, TBitmap& target,
                const std::function<void(double)>& progress) {
  if (target.Format() == TPixelFormat::Indexed8)
    for (uint32_t level = 0; level < 256; ++level) target.Palette()[level] = 0xFF000000u | level * 0x010101u;
  // Used by CMYK pictures only: the library writes them at 4 bytes per pixel.
  std::vector<uint8_t> cmykRow(size_t(target.Width()) * 4);
  TJpegSession session;
  session.Listener = &progress;
  const bool complete = RunDecode(session, data, scaleDenominator, target, cmykRow.data());
  if (session.ListenerFailure) std::rethrow_exception(session.ListenerFailure);
  return complete;
}

}  // namespace kiv
