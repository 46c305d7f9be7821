#include "graphics/font_cache.h"

#include <unordered_set>

#include "base/log.h"
#include "graphics/text_params.h"

namespace kiv {

void TFontCache::Reset(std::u16string_view identity) {
  std::lock_guard lock(FLock);
  if (identity == FIdentity) return;
  FIdentity = identity;
  FCaches.clear();
}

std::u16string TFontCache::Identity() const {
  std::lock_guard lock(FLock);
  return FIdentity;
}

std::shared_ptr<const TGlyphCache> TFontCache::Find(std::u16string_view spec) const {
  std::lock_guard lock(FLock);
  const auto found = FCaches.find(std::u16string(spec));
  return found == FCaches.end() ? nullptr : found->second;
}

std::shared_ptr<const TGlyphCache> TFontCache::Load(std::u16string_view spec, const TShowFileOpener& open) {
  if (std::shared_ptr<const TGlyphCache> held = Find(spec)) return held;
  if (!open) return nullptr;
  // Read outside the lock: another thread may read the same cache meanwhile, and the
  // first one kept wins.
  const std::unique_ptr<TStream> stream = open(GlyphCacheName(spec));
  if (!stream) return nullptr;
  std::optional<TGlyphCache> read = ReadGlyphCache(*stream);
  if (!read) return nullptr;
  return Add(spec, std::make_shared<const TGlyphCache>(std::move(*read)));
}

std::shared_ptr<const TGlyphCache> TFontCache::Add(std::u16string_view spec, std::shared_ptr<const TGlyphCache> cache) {
  std::lock_guard lock(FLock);
  return FCaches.try_emplace(std::u16string(spec), std::move(cache)).first->second;
}

TFontCache& FontCache() {
  static TFontCache cache;
  return cache;
}

void ResetFontCache(std::u16string_view identity) { FontCache().Reset(identity); }

void LogTextFaultOnce(const std::u16string& message) {
  static std::mutex lock;
  static std::unordered_set<std::u16string> logged;
  {
    std::lock_guard guard(lock);
    if (!logged.insert(message).second) return;
  }
  Log().Write(message);
}

}  // namespace kiv
