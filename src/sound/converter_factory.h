#pragma once
// Recognising a sound and picking its decoder.
#include <memory>
#include <optional>
#include <string_view>

#include "base/stream.h"
#include "sound/media_info.h"
#include "sound/sound_streams.h"
#include "sound/wav_converter.h"

namespace kiv {

// The media information of the sound in stream (name gives the extension and "?N");
// none when it is not a sound this player decodes.
std::optional<TMediaInfo> RecogniseMedia(TStream& stream, std::u16string_view name);

// A decoder for media, reading stream (kept, not owned), opened; none when the media
// type has no decoder or the decoder cannot open it.
std::unique_ptr<TWavConverter> MakeConverter(TStream* stream, std::u16string_view name, const TMediaInfo& media);

// A sound opened for playing: its registered stream (for MPEG data inside a RIFF file a
// view that starts at the data, the media's data offset then being 0), what it is, and
// its decoder (declared after the stream it reads, so released before it).
struct TOpenedSound {
  std::unique_ptr<TStream> Stream;
  TMediaInfo Media;
  std::unique_ptr<TWavConverter> Converter;
};
// Opens, recognises and prepares the sound of name ("file?N" for audio stream N); none
// when it cannot be opened, is not recognised or has no decoder. A composite text gets
// no stream: its converter opens the files of its items through open.
std::optional<TOpenedSound> OpenSound(std::u16string_view name, const TSoundOpener& open);

}  // namespace kiv
