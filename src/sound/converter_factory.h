#pragma once
// Recognising a sound and picking its decoder.
#include <memory>
#include <optional>
#include <string_view>

#include "base/stream.h"
#include "sound/media_info.h"
#include "sound/wav_converter.h"

namespace kiv {

// The media information of the sound in stream (name gives the extension and "?N");
// none when it is not a sound this player decodes.
std::optional<TMediaInfo> RecogniseMedia(TStream& stream, std::u16string_view name);

// A decoder for media, reading stream (kept, not owned), opened; none when the media
// type has no decoder or the decoder cannot open it.
std::unique_ptr<TWavConverter> MakeConverter(TStream* stream, std::u16string_view name, const TMediaInfo& media);

}  // namespace kiv
