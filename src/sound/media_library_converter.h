#pragma once
// The decoder for WMA and for the sound of any other media file: the media library
// (FFmpeg's libraries, linked in) reads the file through the sound stream registry and
// decodes the chosen audio stream ("file?N": the Nth, counting from 0; else the best
// one), which is made 16-bit on one or two channels (more are mixed down by the library)
// and then delivered in the mix format. The library may open nothing else: references
// to other files or addresses inside a media file are refused.
#include <memory>

#include "sound/wav_converter.h"

namespace kiv {

class TMediaLibraryConverter : public TWavConverter {
 public:
  TMediaLibraryConverter();
  ~TMediaLibraryConverter() override;

  // The media information of the audio stream the library finds in stream: type WMA for
  // the WMA codecs, media library otherwise; false when there is none.
  static bool Recognise(TStream& stream, int32_t streamNumber, TMediaInfo& media);

  bool Open(const TMediaInfo& media) override;
  void Seek(double ms) override;

 protected:
  // Decodes the next frame into the input.
  bool FillInput() override;

 private:
  enum class TLanding { Reached, Ended, Late };
  // Decodes from where the library stands up to the frame that holds sample target
  // (counted from the first decoded sample) and puts the rest of that frame into the
  // input: Reached; Ended when decoding ended before it; Late when the first frame
  // decoded lies after it (never when decoding started at the start).
  TLanding DecodeUpTo(int64_t target, bool fromStart);

  struct TDecoder;
  std::unique_ptr<TDecoder> FDecoder;
};

}  // namespace kiv
