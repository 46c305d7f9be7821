#pragma once
// Where a player's sounds come from: how a name's stream is opened, recognised and
// decoded. A show's player reads through the show's opener with the decoders of this
// layer (ShowSoundSource); tests give their own.
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "base/stream.h"
#include "sound/media_info.h"
#include "sound/sound_streams.h"
#include "sound/wav_converter.h"

namespace kiv {

struct TSoundSource {
  // The stream of name, starting skip bytes in; none when it cannot be opened.
  std::function<std::unique_ptr<TStream>(std::u16string_view name, int64_t skip)> Open;
  std::function<std::optional<TMediaInfo>(TStream& stream, std::u16string_view name)> Recognise;
  // An opened decoder reading stream (kept, not owned); none when there is none.
  std::function<std::unique_ptr<TWavConverter>(TStream* stream, std::u16string_view name, const TMediaInfo& media)>
      MakeConverter;

  // The media information of name, its stream opened and released again; none when it
  // is not playable. A composite text is described without opening anything: none
  // when it is not a valid composite.
  std::optional<TMediaInfo> Describe(std::u16string_view name) const;
  // An opened decoder for name as Describe saw it: a composite is mixed by a composite
  // converter whose items open through this source (it needs no stream); any other
  // sound is MakeConverter's, reading stream. None when there is none.
  std::unique_ptr<TWavConverter> Decoder(TStream* stream, std::u16string_view name, const TMediaInfo& media) const;
};

// Sounds opened through open (files on disk when empty) and decoded by this layer.
TSoundSource ShowSoundSource(TSoundOpener open);

}  // namespace kiv
