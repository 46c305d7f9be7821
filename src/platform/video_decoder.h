#pragma once
// Reads the pictures of a video file through FFmpeg's libraries (linked into the
// program): opened from a file on disk or from any readable source (a file inside the
// show), it tells the clip's size, rate, length, field order and shape, and decodes the
// picture of a frame number into 8-bit Y, U and V planes (4:2:0, video range), seeking
// backwards when asked for an earlier frame. Frame n is the picture whose time lies
// nearest n / rate after the clip's first picture.
//
// A damaged or cut-off file gives the frames that can be read: asking past them keeps
// the last picture; a frame that fails to decode keeps the picture before it. An object
// is used by one thread at a time; different objects may decode at once.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kiv {

// A source of bytes other than a file: Read gives the bytes read (0 at the end, < 0 on
// failure); Seek moves to a position from the start and answers whether it could; Size
// is the length in bytes, or < 0 when unknown.
struct TVideoReader {
  std::function<int64_t(uint8_t* buffer, int64_t count)> Read;
  std::function<bool(int64_t position)> Seek;
  std::function<int64_t()> Size;
};

// The container families a format name maps to.
enum class TContainerFamily : int { Other = 0, Avi = 1, Matroska = 2, Mp4 = 3, MpegProgram = 4, Flv = 5, MpegTs = 6, Asf = 7 };

TContainerFamily ContainerFamilyOf(const std::string& formatName);
// "MPEG2", "MPEG4", "H264", "XVID" or "OTHER" for a decoder name ("mpeg2video", "mpeg4",
// "h264" …) and the stream's four-character tag (XVID clips are MPEG-4 with tag "XVID").
std::string CodecLabelOf(const std::string& decoderName, uint32_t fourCC);
// The frame rate a clip is timed with, from the stream's nominal and average rates as
// fractions (a zero or negative part means none): a rate within 0.001 of 23.976 or 29.97
// becomes exactly 24000/1001 or 30000/1001; otherwise the nominal rate, or the average
// when there is no nominal one; 25/1 when neither is usable.
void ChooseFrameRate(int nominalNum, int nominalDen, int averageNum, int averageDen, int& num, int& den);
// Frames in a clip of durationUs microseconds at num/den frames per second, rounded to
// the nearest; 0 when the length or rate is unknown.
int64_t FrameCountOf(int64_t durationUs, int num, int den);

struct TVideoInfo {
  int Width = 0;
  int Height = 0;
  int RateNum = 25;  // frames per second as a fraction
  int RateDen = 1;
  int64_t FrameCount = 0;  // 0 when unknown
  int64_t DurationUs = 0;  // 0 when unknown
  bool Interlaced = false;
  bool TopFieldFirst = false;
  // 0 square pixels, 1 a 4:3 picture, 2 a 16:9 picture (from the stream's pixel shape).
  int AspectCode = 0;
  std::string Codec;             // CodecLabelOf
  std::string Decoder;           // FFmpeg's decoder name
  std::string Format;            // FFmpeg's container name ("avi", "matroska,webm" …)
  TContainerFamily Family = TContainerFamily::Other;
  int AudioStreams = 0;

  double Rate() const { return RateDen > 0 ? double(RateNum) / double(RateDen) : 0; }
  // Width ÷ height a pixel is drawn with: 1 for square pixels, else the picture's shape
  // over its pixel count.
  double PixelAspect() const;
};

// One decoded picture: Y at Width x Height, U and V at half size rounded up; pitches
// in bytes. Valid until the next call that decodes.
struct TYuvPlanes {
  const uint8_t* Plane[3] = {nullptr, nullptr, nullptr};
  int Pitch[3] = {0, 0, 0};
  int Width = 0;
  int Height = 0;
};

class TVideoDecoder {
 public:
  // None, with the reason in error, when the file holds no video stream this machine
  // can decode.
  static std::unique_ptr<TVideoDecoder> OpenFile(const std::string& path, std::string& error);
  static std::unique_ptr<TVideoDecoder> OpenReader(TVideoReader reader, std::string& error);
  ~TVideoDecoder();
  TVideoDecoder(const TVideoDecoder&) = delete;
  TVideoDecoder& operator=(const TVideoDecoder&) = delete;

  const TVideoInfo& Info() const;
  // Decodes frame index (below 0 counts as 0). False when no picture has been decoded at
  // all; otherwise the planes hold frame index, or the nearest picture before it that
  // could be read (the last one past the clip's end).
  bool DecodeFrame(int64_t index);
  // The frame number of the picture in the planes (-1 before the first).
  int64_t FrameIndex() const;
  const TYuvPlanes& Planes() const;
  // Pictures decoded since opening (for tests and measurements).
  int64_t PicturesDecoded() const;

 private:
  struct TState;
  explicit TVideoDecoder(std::unique_ptr<TState> state);
  std::unique_ptr<TState> F;
};

}  // namespace kiv
