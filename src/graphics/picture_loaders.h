#pragma once
// The registry of picture loaders: each handles a list of file-name extensions and is
// tried in registration order; the first that recognises the data gives the store.
// Loaders read what they need from the stream while opening (headers, or the encoded
// data into memory) and decode pixels only when a level is first asked for.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "graphics/bitmap_store.h"

namespace kiv {

// Answers a store, or null (with the stream back where it was) when the data is not its
// kind or is damaged. Never raises for bad data.
using TPictureLoader = std::shared_ptr<TBitmapStore> (*)(TStream& stream, std::u16string_view fileName);

// Extensions are normalised when registered: leading characters below 33 and one
// leading "*" are skipped, a missing "." is added, and the text is lower-cased.
std::u16string NormalizeExtension(std::u16string_view extension);

class TPictureLoaderRegistry {
 public:
  void Register(TPictureLoader loader, std::vector<std::u16string_view> extensions);
  // Picks loaders by the name's extension (all loaders when it has none; a ".bmp" name
  // holding PNG data counts as ".png") and answers the first store made. A loader that
  // raises counts as one that did not recognise the data. A store whose picture would
  // not fit the picture memory budget is refused (null) before its pixels exist.
  std::shared_ptr<TBitmapStore> Load(TStream& stream, std::u16string_view fileName) const;

 private:
  struct TEntry {
    TPictureLoader Loader;
    std::vector<std::u16string> Extensions;
  };
  std::vector<TEntry> FEntries;
};

// The process-wide registry with every loader of the player registered in order.
const TPictureLoaderRegistry& PictureLoaders();

// The picture in stream as a store, or null.
std::shared_ptr<TBitmapStore> LoadBitmapStore(TStream& stream, std::u16string_view fileName);

}  // namespace kiv
