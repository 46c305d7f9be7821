#include "sound/sound_source.h"

#include "sound/composite_converter.h"

namespace kiv {

std::optional<TMediaInfo> TSoundSource::Describe(std::u16string_view name) const {
  if (IsCompositeText(name)) {
    TCompositeParams params;
    if (!params.FromText(name)) return std::nullopt;
    return params.MediaInfo();
  }
  if (!Open || !Recognise) return std::nullopt;
  auto stream = Open(name, 0);
  if (!stream) return std::nullopt;
  auto media = Recognise(*stream, name);
  if (!media || media->Type == TMediaType::Unknown || media->Type == TMediaType::Composite) return std::nullopt;
  return media;
}

std::unique_ptr<TWavConverter> TSoundSource::Decoder(TStream* stream, std::u16string_view name,
                                                     const TMediaInfo& media) const {
  if (media.Type == TMediaType::Composite) {
    if (!IsCompositeText(name)) return nullptr;
    auto converter = std::make_unique<TCompositeConverter>(*this, std::u16string(name));
    if (!converter->Open(media)) return nullptr;
    return converter;
  }
  if (!MakeConverter) return nullptr;
  return MakeConverter(stream, name, media);
}

}  // namespace kiv
