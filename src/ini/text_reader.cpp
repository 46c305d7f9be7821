#include "ini/text_reader.h"

#include <vector>

#include "ini/ansi_reader.h"
#include "ini/utf16_reader.h"
#include "ini/utf8_reader.h"

namespace kiv {

namespace {

// One reader class: a detector that consumes the byte-order mark when it accepts,
// and the way to create the reader that goes on from there.
struct TReaderInfo {
  bool (*Detect)(TStream& stream);
  std::unique_ptr<TTextReader> (*Create)(TStream& stream);
};

template <class TReader>
TReaderInfo ReaderInfo() {
  return {&TReader::Detect, [](TStream& stream) -> std::unique_ptr<TTextReader> {
            return std::make_unique<TReader>(stream);
          }};
}

// Asked oldest first. The ANSI reader accepts anything, so it comes last.
const std::vector<TReaderInfo>& ReaderRegistry() {
  static const std::vector<TReaderInfo> registry = {
      ReaderInfo<TUnicodeReader>(), ReaderInfo<TUnicodeBEReader>(), ReaderInfo<TUTF8Reader>(),
      ReaderInfo<TAnsiReader>()};
  return registry;
}

}  // namespace

std::unique_ptr<TTextReader> CreateTextReader(TStream& stream) {
  for (const TReaderInfo& info : ReaderRegistry()) {
    int64_t start = stream.GetPosition();
    if (info.Detect(stream)) return info.Create(stream);
    stream.SetPosition(start);
  }
  KIV_FAIL("No text reader accepts the stream");
}

}  // namespace kiv
