#pragma once
// The body shared by the picture-loader fuzz targets: the bytes are opened by one loader
// and every level the store makes is decoded and converted to Bgra32. Pictures above a
// pixel budget are opened but not decoded, so that the fuzzer's memory limit is not
// spent on one large picture whose data is mostly missing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/picture_loaders.h"

namespace kiv {

inline constexpr int64_t kFuzzDecodeBudget = int64_t(1) << 22;  // pixels

inline void FuzzPictureLoader(TPictureLoader loader, const uint8_t* data, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  const std::shared_ptr<TBitmapStore> store = loader(stream, u"fuzz");
  if (!store || int64_t(store->Width()) * store->Height() > kFuzzDecodeBudget) return;
  for (int level = 0; level < store->LevelCount(); ++level) {
    store->GetMipLevel(level);
    store->GetMipLevel(level, TPixelFormat::Bgra32);
  }
}

}  // namespace kiv
