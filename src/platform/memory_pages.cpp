#include "platform/memory_pages.h"

#include <sys/mman.h>
#include <unistd.h>

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

int64_t PhysicalMemoryBytes() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  return pages > 0 && pageSize > 0 ? int64_t(pages) * int64_t(pageSize) : 0;
}

}  // namespace kiv
