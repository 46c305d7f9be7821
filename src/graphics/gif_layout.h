#pragma once
// The block structure of a GIF file (GIF87a or GIF89a): logical screen, colour tables,
// and per frame its rectangle, transparency, disposal, delay and where its compressed
// pixels lie, plus the loop count. Reading it walks the blocks without decompressing
// any pixels, and checks every size before the pixels are ever decoded.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/errors.h"

namespace kiv {

class EGifError : public EKivError {
 public:
  using EKivError::EKivError;
};

// A colour table inside the file: Count entries of red, green, blue from Offset.
struct TGifColourTable {
  size_t Offset = 0;
  int Count = 0;
};

struct TGifFrame {
  // The rectangle as the image descriptor declares it, on the logical screen.
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Interlaced = false;
  TGifColourTable Colours;    // the local table, else the global one
  int TransparentIndex = -1;  // none
  int Disposal = 0;           // 0 none, 1 keep, 2 restore background, 3 restore previous
  int Delay = 0;              // hundredths of a second
  int MinCodeSize = 0;        // 2 … 8
  // The data sub-blocks: from the first size byte up to the end of the chain (or of the
  // file when it is cut short).
  size_t DataStart = 0;
  size_t DataEnd = 0;
};

struct TGifLayout {
  int Width = 0;  // the logical screen
  int Height = 0;
  std::vector<TGifFrame> Frames;  // at least one
  int LoopCount = 0;              // from the "NETSCAPE2.0" extension; 0 when absent
};

// Raises EGifError: "Unknown/Unsupported GIF image type" for another signature, and
// others for a file without a frame, a code size outside 2 … 8, a frame larger than
// the player allows, or a strip of frames (frame count × logical width by logical
// height) that is. A file cut short keeps the frames that began before the cut; a
// logical screen of width or height 0 takes the first frame's extent.
TGifLayout ReadGifLayout(std::span<const uint8_t> data);

}  // namespace kiv
