#include "graphics/gif_layout.h"

#include <algorithm>
#include <string_view>

#include "graphics/bitmap.h"

namespace kiv {

namespace {

constexpr uint8_t kImageIntroducer = 0x2C;
constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kApplicationLabel = 0xFF;

// The data ended inside a block.
class EGifCutShort : public EGifError {
 public:
  EGifCutShort() : EGifError("GIF data cut short") {}
};

// What a graphic control extension says about the next frame.
struct TGifControl {
  int TransparentIndex = -1;
  int Disposal = 0;
  int Delay = 0;
};

class TGifCursor {
 public:
  explicit TGifCursor(std::span<const uint8_t> data) : FData(data) {}

  size_t Position() const { return FPosition; }
  bool AtEnd() const { return FPosition >= FData.size(); }
  uint8_t Byte() {
    if (AtEnd()) throw EGifCutShort();
    return FData[FPosition++];
  }
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }
  std::span<const uint8_t> Bytes(size_t count) {
    if (count > FData.size() - FPosition) throw EGifCutShort();
    FPosition += count;
    return FData.subspan(FPosition - count, count);
  }
  // The next data sub-block; empty at the chain's terminator.
  std::span<const uint8_t> SubBlock() { return Bytes(Byte()); }
  void SkipSubBlocks() {
    while (!SubBlock().empty()) {
    }
  }
  // Like SkipSubBlocks, but a chain cut short simply ends with the data.
  void SkipSubBlocksToEnd() {
    while (!AtEnd()) {
      const size_t size = FData[FPosition++];
      if (size == 0) return;
      FPosition = std::min(FData.size(), FPosition + size);
    }
  }
  TGifColourTable ColourTable(uint8_t sizeBits) {
    const int count = 2 << (sizeBits & 7);
    const size_t offset = FPosition;
    Bytes(size_t(count) * 3);
    return {offset, count};
  }

 private:
  std::span<const uint8_t> FData;
  size_t FPosition = 0;
};

bool IsLoopExtension(std::span<const uint8_t> identifier) {
  const std::string_view text(reinterpret_cast<const char*>(identifier.data()), identifier.size());
  return text == "NETSCAPE2.0" || text == "ANIMEXTS1.0";
}

void ReadExtension(TGifCursor& in, TGifControl& control, int& loopCount) {
  const uint8_t label = in.Byte();
  const std::span<const uint8_t> first = in.SubBlock();
  if (first.empty()) return;
  if (label == kGraphicControlLabel && first.size() >= 4) {
    control.Disposal = (first[0] >> 2) & 7;
    control.Delay = first[1] | (first[2] << 8);
    control.TransparentIndex = (first[0] & 1) ? first[3] : -1;
  } else if (label == kApplicationLabel && IsLoopExtension(first)) {
    const std::span<const uint8_t> loop = in.SubBlock();
    if (loop.empty()) return;
    if (loop.size() >= 3 && loop[0] == 1) loopCount = loop[1] | (loop[2] << 8);
  }
  in.SkipSubBlocks();
}

void ReadFrame(TGifCursor& in, const TGifColourTable& global, const TGifControl& control, TGifLayout& layout) {
  TGifFrame frame;
  frame.Left = in.Word();
  frame.Top = in.Word();
  frame.Width = in.Word();
  frame.Height = in.Word();
  const uint8_t packed = in.Byte();
  frame.Interlaced = (packed & 0x40) != 0;
  frame.Colours = (packed & 0x80) ? in.ColourTable(packed) : global;
  frame.TransparentIndex = control.TransparentIndex;
  frame.Disposal = control.Disposal;
  frame.Delay = control.Delay;
  frame.MinCodeSize = in.Byte();
  frame.DataStart = in.Position();
  in.SkipSubBlocksToEnd();
  frame.DataEnd = in.Position();

  if (layout.Frames.empty() && (layout.Width == 0 || layout.Height == 0)) {
    layout.Width = frame.Left + frame.Width;
    layout.Height = frame.Top + frame.Height;
  }
  if (frame.MinCodeSize < 2 || frame.MinCodeSize > 8) throw EGifError("Bad GIF code size");
  if (frame.Width > 0 && frame.Height > 0 && !AllowedPictureSize(frame.Width, frame.Height))
    throw EGifError("GIF frame too large");
  if (!AllowedPictureSize(int64_t(layout.Frames.size() + 1) * layout.Width, layout.Height))
    throw EGifError("GIF picture too large");
  layout.Frames.push_back(frame);
}

}  // namespace

TGifLayout ReadGifLayout(std::span<const uint8_t> data) {
  const std::string_view signature(reinterpret_cast<const char*>(data.data()), std::min<size_t>(data.size(), 6));
  if (signature != "GIF87a" && signature != "GIF89a") throw EGifError("Unknown/Unsupported GIF image type");
  TGifLayout layout;
  TGifCursor in(data);
  in.Bytes(signature.size());
  TGifColourTable global;
  try {
    layout.Width = in.Word();
    layout.Height = in.Word();
    const uint8_t packed = in.Byte();
    in.Bytes(2);  // background colour and aspect ratio: not used
    if (packed & 0x80) global = in.ColourTable(packed);
    TGifControl control;
    for (bool more = true; more;) {
      switch (in.Byte()) {
        case kImageIntroducer:
          ReadFrame(in, global, control, layout);
          control = {};
          break;
        case kExtensionIntroducer: ReadExtension(in, control, layout.LoopCount); break;
        default: more = false;  // the trailer, or bytes that no block starts with
      }
    }
  } catch (const EGifCutShort&) {
    if (layout.Frames.empty()) throw;
  }
  if (layout.Frames.empty()) throw EGifError("GIF without frames");
  return layout;
}

}  // namespace kiv
