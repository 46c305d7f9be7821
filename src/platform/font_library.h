#pragma once
// The process's one FreeType library. FreeType lets faces of one library be used from
// several threads, each face by one thread at a time, as long as faces are made and
// freed one at a time: Lock() is held around FT_New_Memory_Face and FT_Done_Face (each
// face guards its own use with a lock of its own).
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

namespace kiv {

class TFontLibrary {
 public:
  // Made on first use and never freed, so fonts still held while the process exits can
  // still be closed.
  static TFontLibrary& Get();

  // The library, or null when FreeType failed to start (then no font opens).
  FT_Library Library() const { return Library_; }
  std::unique_lock<std::mutex> Lock() { return std::unique_lock(Mutex_); }

 private:
  TFontLibrary();

  FT_Library Library_ = nullptr;
  std::mutex Mutex_;
};

}  // namespace kiv
