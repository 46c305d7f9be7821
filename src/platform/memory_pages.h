#pragma once
// Large zero-filled blocks taken straight from the system as whole pages, asked to be
// backed by huge pages where the system has them; and how much memory the machine has.
#include <cstddef>
#include <cstdint>

namespace kiv {

// size bytes of zeros; null when the system has no room.
void* MapZeroedPages(size_t size);
// Gives back a block from MapZeroedPages with the size it was asked with.
void UnmapPages(void* pages, size_t size);

// The machine's physical memory in bytes; 0 when the system does not say.
int64_t PhysicalMemoryBytes();

}  // namespace kiv
