#include "sound/converter_factory.h"
#include "sound/sound_source.h"

namespace kiv {

// Apart from the rest of the source so that what uses a source of its own does not
// take in the decoders.
TSoundSource ShowSoundSource(TSoundOpener open) {
  TSoundSource source;
  source.Open = [open = std::move(open)](std::u16string_view name, int64_t skip) {
    return OpenSoundStream(name, open, skip);
  };
  source.Recognise = [](TStream& stream, std::u16string_view name) { return RecogniseMedia(stream, name); };
  source.MakeConverter = [](TStream* stream, std::u16string_view name, const TMediaInfo& media) {
    return MakeConverter(stream, name, media);
  };
  return source;
}

}  // namespace kiv
