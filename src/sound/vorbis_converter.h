#pragma once
// The Ogg Vorbis decoder: libvorbisfile reads the stream through the sound stream
// registry and gives 16-bit PCM at the stream's rate on one or two channels. Streams of
// more channels go to the media library, which mixes them down; a chained stream ends
// where a link changes its rate or channels.
#include <memory>

#include "sound/wav_converter.h"

namespace kiv {

class TVorbisConverter : public TWavConverter {
 public:
  TVorbisConverter();
  ~TVorbisConverter() override;

  // The media information of an Ogg Vorbis stream of one or two channels; false for
  // anything else.
  static bool Recognise(TStream& stream, TMediaInfo& media);

  bool Open(const TMediaInfo& media) override;
  void Seek(double ms) override;

 protected:
  // Decodes the next piece into the input.
  bool FillInput() override;

 private:
  struct TFile;
  std::unique_ptr<TFile> FFile;
};

}  // namespace kiv
