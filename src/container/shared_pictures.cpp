#include "container/shared_pictures.h"

#include <map>
#include <utility>

#include "base/text.h"
#include "container/file_accessor.h"
#include "container/placeholder_picture.h"
#include "graphics/picture_loaders.h"

namespace kiv {

namespace {

using TKey = std::pair<std::u16string, uint32_t>;  // lower-cased name, source number
std::mutex gTableLock;
std::map<TKey, std::weak_ptr<TImageHandle>> gTable;

}  // namespace

void TImageHandle::Load(const TFileAccessor& accessor, std::u16string_view name) {
  std::lock_guard lock(FLock);
  if (FLoaded) return;
  FLoaded = true;
  FStore = accessor.Source().ProvidePicture(name);
  if (FStore) return;
  bool opened = false;
  if (std::unique_ptr<TStream> stream = accessor.OpenStream(name)) {
    opened = true;
    try {
      FStore = LoadBitmapStore(*stream, name);
    } catch (const std::exception&) {
      // a loader that fails unexpectedly counts as an undecodable picture
    }
  }
  if (FStore) {
    FStore = accessor.Source().Oriented(name, std::move(FStore));
    return;
  }
  FStore = MakePlaceholderPicture(name, opened, false);
}

std::shared_ptr<TBitmapStore> TImageHandle::Store() {
  std::lock_guard lock(FLock);
  return FStore;
}

std::shared_ptr<TImageHandle> SharedImageHandle(std::u16string_view name, const TFileSource& source) {
  std::lock_guard lock(gTableLock);
  const TKey key{LowerCase(name), source.Number()};
  std::weak_ptr<TImageHandle>& slot = gTable[key];
  std::shared_ptr<TImageHandle> handle = slot.lock();
  if (!handle) {
    // The last holder of a handle takes its entry out of the table.
    handle = std::shared_ptr<TImageHandle>(new TImageHandle, [key](TImageHandle* gone) {
      {
        std::lock_guard lock(gTableLock);
        auto entry = gTable.find(key);
        if (entry != gTable.end() && entry->second.expired()) gTable.erase(entry);
      }
      delete gone;
    });
    slot = handle;
  }
  return handle;
}

size_t LiveImageHandles() {
  std::lock_guard lock(gTableLock);
  return gTable.size();
}

}  // namespace kiv
