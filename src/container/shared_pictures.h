#pragma once
// Pictures of a show are decoded once per file source and shared: a process-wide table
// from (name ignoring case, source number) to one handle per picture, each with its own
// lock held while it decodes, so two threads asking for one picture decode it once.
#include <memory>
#include <mutex>
#include <string>

#include "graphics/bitmap_store.h"

namespace kiv {

class TFileSource;
class TFileAccessor;

// One picture of one source: decoded (or replaced by the placeholder) on first use.
class TImageHandle {
 public:
  // Loads the picture through accessor unless that was done before (also when it failed).
  void Load(const TFileAccessor& accessor, std::u16string_view name);
  std::shared_ptr<TBitmapStore> Store();

 private:
  std::mutex FLock;
  bool FLoaded = false;
  std::shared_ptr<TBitmapStore> FStore;
};

namespace accessor {

// The accessor's picture handle (a picture of the show's files, not the slide object
// that shows one). Every handle of one name and source shares one decoded picture.
class TKivImage {
 public:
  explicit TKivImage(std::shared_ptr<TImageHandle> handle) : FHandle(std::move(handle)) {}
  std::shared_ptr<TBitmapStore> Store() const { return FHandle->Store(); }

 private:
  std::shared_ptr<TImageHandle> FHandle;
};

}  // namespace accessor

// The handle of name for source, made on first request; it lives while a picture
// handle holds it.
std::shared_ptr<TImageHandle> SharedImageHandle(std::u16string_view name, const TFileSource& source);

// How many handles are alive in the table.
size_t LiveImageHandles();

}  // namespace kiv
