#include "graphics/pixel_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace kiv {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// From this size on a buffer is mapped on its own; below it the allocator's zeroing is cheap.
constexpr size_t kMappedFrom = 4 * kHugePage;

}  // namespace

TPixelBuffer::TPixelBuffer(size_t size) : FData(nullptr), FSize(size), FMapped(size >= kMappedFrom) {
  if (FMapped) {
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    madvise(memory, size, MADV_HUGEPAGE);  // a hint: ignored where huge pages are off
    FData = static_cast<uint8_t*>(memory);
  } else {
    FData = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!FData) throw std::bad_alloc();
  }
}

TPixelBuffer::~TPixelBuffer() {
  if (FMapped)
    munmap(FData, FSize);
  else
    std::free(FData);
}

}  // namespace kiv
