#include "platform/memory_pages.h"

#include <sys/mman.h>

namespace kiv {

void* MapZeroedPages(size_t size) {
  void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return nullptr;
  ::madvise(memory, size, MADV_HUGEPAGE);  // a hint: ignored where huge pages are off
  return memory;
}

void UnmapPages(void* pages, size_t size) {
  if (pages) ::munmap(pages, size);
}

}  // namespace kiv
