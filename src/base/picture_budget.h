#pragma once
// The memory one decoded picture may take. A show may announce any size in a few header
// bytes; a picture over the budget is refused before anything is allocated for it, and
// shows as the placeholder. The budget is a quarter of the machine's memory, or the
// number of MiB in the environment variable KIV_PICTURE_MEMORY_MB.
#include <cstdint>
#include <optional>
#include <string_view>

namespace kiv {

// Bytes; read once per process.
int64_t PictureMemoryBudget();
// Replaces the budget (none: back to the machine's); for tests and tools.
void SetPictureMemoryBudget(std::optional<int64_t> bytes);

// The budget from a KIV_PICTURE_MEMORY_MB value and the machine's memory: the value
// when it is a whole number of MiB above 0, else a quarter of the memory (1 GiB when
// the machine does not say), never below 64 MiB.
int64_t PictureBudgetFrom(const char* mebibytes, int64_t physicalMemory);

// Whether a picture of width × height at bytesPerPixel fits the budget. A refused
// picture is logged with what names it ("Picture refused: ...") the first time only.
bool FitsPictureBudget(int64_t width, int64_t height, int bytesPerPixel, std::string_view what);

}  // namespace kiv
