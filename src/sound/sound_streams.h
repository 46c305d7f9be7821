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
// Splits at the last "?" when a decimal number follows it; otherwise the whole name is
// the file.
TSoundName SplitSoundName(std::u16string_view name);

// The stream of name (without its "?N"), locked for every call, or none. skip > 0 gives
// a view that starts skip bytes later (MPEG data inside a RIFF file): its position and
// size are the inner stream's less skip. The streams refuse writes. Releasing one
// (destroying it) releases the inner stream under the lock too.
std::unique_ptr<TStream> OpenSoundStream(std::u16string_view name, const TSoundOpener& open, int64_t skip = 0);

// The largest single read a decoding library may ask for.
constexpr int64_t kMaxLibraryRead = 104857600;
// Reads for a decoding library: the bytes read, or -1 for a refused (too large) or
// failed read.
int64_t LibraryRead(TStream& stream, void* buffer, int64_t count);
// Seeks for a decoding library (origin 0 start, 1 current, 2 end): the new position, or
// -1 for an unknown origin or a position outside the stream.
int64_t LibrarySeek(TStream& stream, int64_t offset, int origin);

}  // namespace kiv
