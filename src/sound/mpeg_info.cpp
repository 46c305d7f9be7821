#include "sound/mpeg_info.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "sound/mpeg_frame_header.h"

namespace kiv {
namespace {

// How far the first frame is looked for after the tags.
constexpr uint64_t kSearchBytes = 1 << 20;
// How far a frame is looked for after a seek into the middle of the data.
constexpr uint64_t kResyncBytes = 1 << 16;
constexpr uint32_t kMostFreeFrame = 8192;

// Reads a stream through a window of whole blocks.
class TWindow {
 public:
  TWindow(TStream& stream, uint64_t end) : FStream(stream), FEnd(end) {}
  // The count bytes at offset (count ≤ 4096), or none past the end.
  const uint8_t* At(uint64_t offset, size_t count) {
    if (offset + count > FEnd) return nullptr;
    if (offset < FStart || offset + count > FStart + FBytes.size()) {
      FStart = offset;
      FBytes.resize(size_t(std::min<uint64_t>(kBlock, FEnd - offset)));
      try {
        FStream.SetPosition(int64_t(offset));
        FBytes.resize(size_t(std::max<int64_t>(0, FStream.Read(FBytes.data(), int64_t(FBytes.size())))));
      } catch (const EKivError&) {
        FBytes.clear();
      }
      if (count > FBytes.size()) return nullptr;
    }
    return FBytes.data() + (offset - FStart);
  }

 private:
  static constexpr size_t kBlock = 65536;
  TStream& FStream;
  uint64_t FEnd;
  uint64_t FStart = 0;
  std::vector<uint8_t> FBytes;
};

bool HeaderAt(TWindow& window, uint64_t offset, TMpegFrameHeader& header, uint32_t freeBytes = 0) {
  const uint8_t* bytes = window.At(offset, 4);
  return bytes && header.Parse(bytes, freeBytes);
}

// A frame at offset that the next frame confirms (or that ends the data). A free format
// frame's size is found from the next header of the same stream.
bool FrameAt(TWindow& window, uint64_t offset, uint64_t end, TMpegFrameHeader& header, uint32_t freeBytes = 0) {
  if (!HeaderAt(window, offset, header, freeBytes)) return false;
  TMpegFrameHeader next;
  if (header.FrameBytes == 0) {
    for (uint32_t size = 16; size < kMostFreeFrame && offset + size + 4 <= end; ++size)
      if (HeaderAt(window, offset + size, next) && next.SameStream(header) && next.BitRate == 0) {
        const uint32_t padding = header.Padding ? (header.Layer == 1 ? 4 : 1) : 0;
        return size > padding && header.Parse(window.At(offset, 4), size - padding);
      }
    return false;
  }
  if (offset + header.FrameBytes == end) return true;
  return HeaderAt(window, offset + header.FrameBytes, next, freeBytes) && next.SameStream(header);
}

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// The frame count of a Xing (or "Info") or VBRI header in the frame at bytes, or 0.
uint32_t VbrFrames(const uint8_t* frame, uint32_t size, const TMpegFrameHeader& header) {
  const uint32_t xing = header.XingOffset();
  if (size >= xing + 12 && (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0))
    return (BigEndian(frame + xing + 4) & 1) ? BigEndian(frame + xing + 8) : 0;
  if (size >= 36 + 18 && std::memcmp(frame + 36, "VBRI", 4) == 0) return BigEndian(frame + 36 + 14);
  return 0;
}

// The size of a free format frame without padding, as the media's bit rate gives it.
uint32_t FreeBytes(const TMediaInfo& media, const TMpegFrameHeader& header) {
  if (header.Rate == 0) return 0;
  return uint32_t(std::llround(double(media.BitRate) * header.Samples / 8 / header.Rate));
}

}  // namespace

bool TMpegInfo::Scan(TStream& stream, uint32_t start, uint32_t end, uint32_t riffBitRate, TMediaInfo& media) {
  TWindow window(stream, end);
  uint64_t position = start;
  // ID3v2 tags: "ID3", version, flags, and a size of four 7-bit bytes.
  for (int tags = 0; tags < 4; ++tags) {
    const uint8_t* tag = window.At(position, 10);
    if (!tag || std::memcmp(tag, "ID3", 3) != 0 || tag[3] == 0xFF || ((tag[6] | tag[7] | tag[8] | tag[9]) & 0x80)) break;
    const uint32_t size = uint32_t(tag[6]) << 21 | uint32_t(tag[7]) << 14 | uint32_t(tag[8]) << 7 | tag[9];
    position += 10 + uint64_t(size) + ((tag[5] & 0x10) ? 10 : 0);
  }
  uint64_t dataEnd = end;
  if (dataEnd >= position + 128) {
    const uint8_t* trailer = window.At(dataEnd - 128, 3);
    if (trailer && std::memcmp(trailer, "TAG", 3) == 0) dataEnd -= 128;
  }
  const uint64_t last = std::min<uint64_t>(dataEnd, position + kSearchBytes);
  TMpegFrameHeader header;
  for (;; ++position) {
    if (position + 4 > last) return false;
    if (FrameAt(window, position, dataEnd, header)) break;
  }
  media.FrameCount = 0;
  media.Xing = false;
  const uint8_t* frame = window.At(position, std::min<uint64_t>(header.FrameBytes, dataEnd - position));
  if (frame) {
    if (const uint32_t frames = VbrFrames(frame, uint32_t(std::min<uint64_t>(header.FrameBytes, dataEnd - position)), header)) {
      // The header frame holds no sound: the data starts after it.
      media.FrameCount = frames;
      media.Xing = true;
      position += header.FrameBytes;
    }
  }
  if (position > dataEnd) return false;
  media.Type = TMediaType::Mpeg;
  media.DataOffset = uint32_t(position);
  media.DataSize = uint32_t(dataEnd - position);
  media.BitRate = riffBitRate ? riffBitRate
                  : header.BitRate ? header.BitRate
                                   : uint32_t(double(header.FrameBytes) * 8 * header.Rate / header.Samples);
  media.BytesPerMs = float(media.BitRate / 8000.0);
  media.Format = PcmFormat(header.Rate, header.Channels(), 16);
  double ms = 0;
  if (media.FrameCount)
    ms = double(media.FrameCount) * header.Samples * 1000 / header.Rate;
  else if (media.BitRate)
    ms = double(media.DataSize) * 8000 / media.BitRate;
  media.Duration = uint32_t(std::llround(std::min(ms, double(UINT32_MAX))));
  return true;
}

TMpegInfo::TFrame TMpegInfo::FindFrame(TStream& stream, const TMediaInfo& media, double ms) {
  const uint64_t start = media.DataOffset, end = uint64_t(media.DataOffset) + media.DataSize;
  TWindow window(stream, end);
  TFrame found{start, 0};
  TMpegFrameHeader header;
  if (ms <= 0 || !HeaderAt(window, start, header)) return found;
  const uint32_t freeBytes = FreeBytes(media, header);
  if (media.Xing || media.Duration == 0) {
    // Walk the frames from the start.
    while (found.Offset + 4 <= end && HeaderAt(window, found.Offset, header, freeBytes) && header.FrameBytes > 0) {
      // A last frame cut short plays from where it starts.
      if (found.StartMs + header.Ms() > ms || found.Offset + header.FrameBytes > end) break;
      found.StartMs += header.Ms();
      found.Offset += header.FrameBytes;
    }
    return found;
  }
  // A constant rate: the frame that plays at ms lies where its number times the mean
  // frame size says, to a byte or two; its number follows back from where it is found.
  const double meanFrame = double(media.BitRate) / 8 * header.Samples / header.Rate;
  const double number = std::floor(std::min(ms, double(media.Duration)) / header.Ms());
  uint64_t offset = start + uint64_t(std::max(0.0, number * meanFrame - 2));
  const uint64_t last = std::min(end, offset + kResyncBytes);
  for (; meanFrame >= 1 && offset + 4 <= last; ++offset)
    if (FrameAt(window, offset, end, header, freeBytes)) {
      found.Offset = offset;
      found.StartMs = std::round(double(offset - start) / meanFrame) * header.Ms();
      return found;
    }
  return TFrame{start, 0};
}

}  // namespace kiv
