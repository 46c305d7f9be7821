#pragma once
// The glyph caches of the open show, shared by every text of the process and looked up
// by exact font name with style. Filled as texts ask for them and emptied when a show of
// another identity opens. Safe to use from any thread.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/stream.h"
#include "graphics/glyph_cache.h"

namespace kiv {

// Opens the show's entry of exactly this name (case counts: texts that differ only in
// case are different entries); null when the show has none.
using TShowFileOpener = std::function<std::unique_ptr<TStream>(std::u16string_view name)>;

class TFontCache {
 public:
  // Empties the cache when identity differs from the one it holds, and remembers it.
  void Reset(std::u16string_view identity);
  std::u16string Identity() const;

  // The cache held for spec; null when none is held.
  std::shared_ptr<const TGlyphCache> Find(std::u16string_view spec) const;
  // The cache held for spec, or else the one the show stores under GlyphCacheName(spec),
  // read and kept; null when the show has none (or a damaged one).
  std::shared_ptr<const TGlyphCache> Load(std::u16string_view spec, const TShowFileOpener& open);
  // Keeps cache under spec unless one is held for it already; gives the one held.
  std::shared_ptr<const TGlyphCache> Add(std::u16string_view spec, std::shared_ptr<const TGlyphCache> cache);

 private:
  mutable std::mutex FLock;
  std::u16string FIdentity;
  std::unordered_map<std::u16string, std::shared_ptr<const TGlyphCache>> FCaches;
};

// The process-wide font cache.
TFontCache& FontCache();
// Empties the process-wide font cache when identity (the show's "ExeGUID" text) differs
// from the one it holds.
void ResetFontCache(std::u16string_view identity);

// Writes a text fault ("Font … not found", "Glyph … not found") to the log the first
// time the process meets it; later repeats are left out.
void LogTextFaultOnce(const std::u16string& message);

}  // namespace kiv
