#pragma once
// Writes a video file: pictures and sound encoded and carried by the container the file
// name's extension asks for (.mp4, .m4v, .mov or .mkv). Pictures come as rows of 8-bit
// RGB pixels and are turned into the encoder's colours (4:2:0, BT.709, video range);
// sound comes as interleaved signed 16-bit stereo at kOutputRate. Each stream takes the
// first encoder of its list that this machine's FFmpeg has, the container carries and
// that opens, so a machine without the wanted encoder still writes a playable file.
// Failures are answered as false (or no writer) with the reason in words.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

enum class TPixelLayout { Bgr24, Bgra32, Rgba32 };

// The encoders tried, in order: the first is the one wanted, the others are fallbacks.
inline const std::vector<std::string> kVideoEncoders = {"libx264", "libopenh264", "mpeg4"};
inline const std::vector<std::string> kSoundEncoders = {"aac", "libfdk_aac", "mp2"};
// What libx264 is asked for: its speed preset and its constant-quality factor (lower is
// better; 18 to 23 looks clean on slides). Benchmarks that compare with the command-line
// encoder use the same two.
inline constexpr char kH264Preset[] = "veryfast";
inline constexpr int kH264Quality = 20;

struct TVideoFileSettings {
  std::string Path;  // UTF-8
  int Width = 0;     // both sides even (4:2:0 halves them)
  int Height = 0;
  // Frames per second as a fraction, so that rates like 30000/1001 stay exact.
  int RateNumerator = 25;
  int RateDenominator = 1;
  bool Sound = true;  // whether the file gets a sound stream
  std::vector<std::string> VideoEncoders = kVideoEncoders;
  std::vector<std::string> SoundEncoders = kSoundEncoders;
};

// The extensions the writer knows, with their dot, for messages.
std::vector<std::string> VideoFileExtensions();
// Whether path ends in one of them (letter case aside).
bool IsVideoFileName(std::string_view path);

// What the streams were encoded with: a name for people ("H.264"), the encoder
// ("libx264"), and whether it is a fallback (not the first of its list) together with
// the name of the one wanted.
struct TVideoFileCodec {
  std::string Name;
  std::string Encoder;
  bool Fallback = false;
  std::string Wanted;
};

class TVideoFileWriter {
 public:
  // Makes the file and opens its encoders. None, with the reason in error, when the
  // extension is unknown, the file cannot be written or no encoder fits; no file is left
  // behind then.
  static std::unique_ptr<TVideoFileWriter> Open(const TVideoFileSettings& settings, std::string& error);
  // Finishes the file when Finish was not called (its failure is then not reported).
  ~TVideoFileWriter();
  TVideoFileWriter(const TVideoFileWriter&) = delete;
  TVideoFileWriter& operator=(const TVideoFileWriter&) = delete;

  // The next picture: Height rows of Width pixels, the rows stride bytes apart.
  bool WritePicture(const uint8_t* pixels, ptrdiff_t stride, TPixelLayout layout);
  // The next frameCount sound frames (2 × frameCount samples); nothing without sound.
  bool WriteSound(const int16_t* frames, size_t frameCount);
  // Drains the encoders and completes the file (its index written), so that it plays.
  // Later writes fail.
  bool Finish();

  const TVideoFileCodec& VideoCodec() const;
  const TVideoFileCodec& SoundCodec() const;  // empty Name without sound
  int64_t PicturesWritten() const;
  // Why the last call failed.
  const std::string& Error() const;

 private:
  struct TState;
  explicit TVideoFileWriter(std::unique_ptr<TState> state);
  std::unique_ptr<TState> F;
};

}  // namespace kiv
