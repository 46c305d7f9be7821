#pragma once
// A sound decoder: turns the data of one sound stream into PCM, in the media's own rate
// and channel count, or in a target format when one is set. One class per coding
// (PCM and float WAV here; MS ADPCM, MPEG audio, Ogg Vorbis and the media library in
// their own files); the converter factory picks one by media type.
//
// A converter is used by one thread at a time. It is opened once, sought any number of
// times and read until Read answers false.
#include <memory>
#include <optional>
#include <string>

#include "base/stream.h"
#include "sound/local_buffer.h"
#include "sound/media_info.h"

namespace kiv {

class TWavConverter {
 public:
  TWavConverter();
  virtual ~TWavConverter();
  TWavConverter(const TWavConverter&) = delete;
  TWavConverter& operator=(const TWavConverter&) = delete;

  // The stream the data comes from (kept, not owned; may be none for converters that
  // open what they read themselves).
  void SetStream(TStream* stream) { FStream = stream; }
  // Converts to format from now on (PCM at 8 or 16 bits, mono or stereo, any rate).
  void SetTargetFormat(const TWaveFormat& format);

  // Prepares for the media and seeks to 0; false when the data cannot be decoded.
  virtual bool Open(const TMediaInfo& media);
  // Moves to ms from the start (what is buffered is dropped).
  virtual void Seek(double ms);
  // Makes the output hold at least count bytes: decoded data, then silence at the end.
  // True while real data remained; false once the end was reached with nothing left, or
  // when decoding failed (the caller treats the sound as finished).
  virtual bool Read(size_t count);

  // What Read decoded; the caller consumes it.
  TLocalBuffer& Output() { return FOutput; }
  // The format of Output: the target format when one is set, else the decoded format.
  const TWaveFormat& OutputFormat() const;
  // Where the next output byte lies in the sound, in ms.
  double Position() const { return FPosition; }
  const TMediaInfo& Media() const { return FMedia; }

 protected:
  // Reads more input; false when nothing more came.
  virtual bool FillInput();
  // Decodes the input into the output (converted when a target format is set); false
  // when decoding failed.
  virtual bool Process();

  // The PCM format the decoder produces before any conversion; Open takes it from the
  // media unless a subclass set it first (SetDecodedFormat).
  const TWaveFormat& DecodedFormat() const { return FDecoded; }
  void SetDecodedFormat(const TWaveFormat& format);
  // Takes the whole frames of count bytes of decoded PCM: appends them to the output,
  // converted to the target format when one is set, and moves the position on; answers
  // the bytes taken. A conversion that would make more than a bounded amount at once (a
  // sound of a very low rate) keeps the rest for the next reads.
  size_t Deliver(const uint8_t* pcm, size_t count);
  // Reads up to count bytes of the data (never past its end) into the input; false when
  // nothing came.
  bool ReadData(size_t count);
  // Moves the stream to byte offset of the data (cut to its size); false when the
  // stream refused.
  bool SeekData(uint64_t offset);
  // Forgets the frames the conversion carries over and what it keeps for later reads.
  void ResetConversion();

  TStream* FStream = nullptr;
  TMediaInfo FMedia;
  TLocalBuffer FInput;
  TLocalBuffer FOutput;
  double FPosition = 0;
  size_t FChunkSize = 4096;
  uint64_t FDataLeft = 0;  // bytes of data not yet read
  bool FFailed = false;    // decoding failed: the rest is silence

 private:
  TWaveFormat FDecoded;
  bool FDecodedSet = false;
  struct TConversion;
  std::unique_ptr<TConversion> FConversion;
  TLocalBuffer FPending;  // decoded frames taken but not yet converted
  void SetupConversion();
  // Converts the first of count bytes of decoded PCM into the output, no more than a
  // bounded amount of output; answers the bytes taken.
  size_t Convert(const uint8_t* pcm, size_t count);
};

}  // namespace kiv
