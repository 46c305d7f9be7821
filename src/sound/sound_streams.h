#pragma once
// Every sound stream is opened, read and released under one process-wide lock: streams
// of a show share the one file that holds the show. Opening goes through the caller's
// open function (the player's reads sounds from the show); without one a name is a file
// on disk.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/stream.h"

namespace kiv {

using TSoundOpener = std::function<std::unique_ptr<TStream>(std::u16string_view name)>;

// A sound name "file?N" names audio stream N of the file.
struct TSoundName {
  std::u16string File;
  int32_t StreamNumber = -1;  // none given
};
TSoundName SplitSoundName(std::u16string_view name);

// The stream of name (without its "?N"), locked for every call, or none. skip > 0 gives
// a view that starts skip bytes later (MPEG data inside a RIFF file).
std::unique_ptr<TStream> OpenSoundStream(std::u16string_view name, const TSoundOpener& open, int64_t skip = 0);

}  // namespace kiv
