#include "sound/sound_source.h"

namespace kiv {

std::optional<TMediaInfo> TSoundSource::Describe(std::u16string_view name) const {
  if (!Open || !Recognise) return std::nullopt;
  auto stream = Open(name, 0);
  if (!stream) return std::nullopt;
  auto media = Recognise(*stream, name);
  if (!media || media->Type == TMediaType::Unknown) return std::nullopt;
  return media;
}

}  // namespace kiv
