#pragma once
// Texture files of a skin and the pieces cut from them, so that states sharing an image
// share one picture. Files are kept by lower-case name; pieces by rectangle and treatment.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "base/rect.h"
#include "graphics/bitmap.h"
#include "graphics/hsl_adjust.h"

namespace kiv {

enum class TPieceTreatment : uint8_t {
  None,
  Gray,       // blue, green and red set to their mean
  GrayFaded,  // grey, and alpha divided by 4
};

class TBmpCache {
 public:
  // A texture by file name; null when it cannot be had.
  using TLoader = std::function<std::shared_ptr<const TBitmap>(std::u16string_view name)>;

  explicit TBmpCache(TLoader loader, THslShift shift = {}) : FLoader(std::move(loader)), FShift(shift) {}

  // The piece bounds of file in Bgra32 (what lies beyond the texture transparent),
  // treated and turned by the cache's colour shift; null when the file is missing.
  std::shared_ptr<const TBitmap> Piece(std::u16string_view file, const TRect& bounds, TPieceTreatment treatment);

 private:
  std::shared_ptr<const TBitmap> Texture(std::u16string_view file);

  TLoader FLoader;
  THslShift FShift;
  std::map<std::u16string, std::shared_ptr<const TBitmap>> FFiles;  // null: could not be had
  std::map<std::tuple<std::u16string, int32_t, int32_t, int32_t, int32_t, TPieceTreatment>, std::shared_ptr<const TBitmap>>
      FPieces;
};

}  // namespace kiv
