#include "graphics/pixel_buffer.h"

#include <cstdlib>
#include <new>

#include "platform/memory_pages.h"

namespace kiv {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// From this size on a buffer is mapped on its own; below it the allocator's zeroing is cheap.
constexpr size_t kMappedFrom = 4 * kHugePage;

}  // namespace

TPixelBuffer::TPixelBuffer(size_t size) : FData(nullptr), FSize(size), FMapped(size >= kMappedFrom) {
  if (FMapped) {
    FData = static_cast<uint8_t*>(MapZeroedPages(size));
    if (!FData) throw std::bad_alloc();
  } else {
    FData = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!FData) throw std::bad_alloc();
  }
}

TPixelBuffer::~TPixelBuffer() {
  if (FMapped)
    UnmapPages(FData, FSize);
  else
    std::free(FData);
}

}  // namespace kiv
