#pragma once
// The body shared by the sound fuzz targets: a converter made for what the bytes were
// recognised as is read to its end, in pieces, with bounds on the reads and on what one
// read may deliver; exceeding either aborts (a hang or a huge allocation on bad data).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>

#include "sound/converter_factory.h"
#include "sound/wav_converter.h"

namespace kiv {

// Output bytes asked per read, and the most reads a fuzz input may take to end.
inline constexpr size_t kFuzzReadPiece = 4096;
inline constexpr int kFuzzMostReads = 1 << 16;
// The most one read may leave in the output: a read decodes a chunk of input, never the
// whole sound.
inline constexpr size_t kFuzzMostOutput = size_t(1) << 22;

// Reads converter until it ends or reads are spent: the ms of sound it delivered, or
// none when the reads were spent first.
inline std::optional<double> FuzzReadToEnd(TWavConverter& converter, int reads = kFuzzMostReads) {
  const double bytesPerMs = converter.OutputFormat().BytesPerSecond / 1000.0;
  double ms = 0;
  for (int i = 0; i < reads; ++i) {
    const bool more = converter.Read(kFuzzReadPiece);
    if (converter.Output().Size() > kFuzzMostOutput) std::abort();
    if (more && bytesPerMs > 0) ms += double(converter.Output().Size()) / bytesPerMs;
    converter.Output().Clear();
    if (!more) return ms;
  }
  return std::nullopt;
}

// The media's converter over stream, or none; its output format is always whole frames.
inline std::unique_ptr<TWavConverter> FuzzConverter(TStream& stream, std::u16string_view name, const TMediaInfo& media) {
  std::unique_ptr<TWavConverter> converter = MakeConverter(&stream, name, media);
  if (converter && converter->OutputFormat().BlockAlign == 0) std::abort();
  return converter;
}

}  // namespace kiv
