#include "base/picture_budget.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "base/log.h"
#include "platform/memory_pages.h"

namespace kiv {

namespace {

constexpr int64_t kMebibyte = int64_t(1) << 20;
constexpr int64_t kSmallestBudget = 64 * kMebibyte;
constexpr int64_t kBudgetWithoutMemorySize = 1024 * kMebibyte;
// Distinct refusals remembered for logging each once; past this many, no more are logged.
constexpr size_t kMaxRememberedRefusals = 4096;

std::atomic<int64_t> gOverride{0};

int64_t MachineBudget() {
  static const int64_t budget = PictureBudgetFrom(std::getenv("KIV_PICTURE_MEMORY_MB"), PhysicalMemoryBytes());
  return budget;
}

// True the first time this refusal is seen.
bool FirstRefusal(const std::string& key) {
  static std::mutex lock;
  static std::set<std::string> seen;
  std::lock_guard guard(lock);
  return seen.size() < kMaxRememberedRefusals && seen.insert(key).second;
}

}  // namespace

int64_t PictureBudgetFrom(const char* mebibytes, int64_t physicalMemory) {
  if (mebibytes && *mebibytes) {
    int64_t value = 0;
    const char* end = mebibytes + std::strlen(mebibytes);
    const auto [stop, error] = std::from_chars(mebibytes, end, value);
    if (error == std::errc() && stop == end && value > 0 && value <= (int64_t(1) << 40))
      return std::max(value * kMebibyte, kSmallestBudget);
  }
  const int64_t share = physicalMemory > 0 ? physicalMemory / 4 : kBudgetWithoutMemorySize;
  return std::max(share, kSmallestBudget);
}

int64_t PictureMemoryBudget() {
  const int64_t forced = gOverride.load(std::memory_order_relaxed);
  return forced > 0 ? forced : MachineBudget();
}

void SetPictureMemoryBudget(std::optional<int64_t> bytes) {
  gOverride.store(bytes && *bytes > 0 ? *bytes : 0, std::memory_order_relaxed);
}

bool FitsPictureBudget(int64_t width, int64_t height, int bytesPerPixel, std::string_view what) {
  const int64_t budget = PictureMemoryBudget();
  // Each factor checked on its own so that the product cannot overflow.
  if (width > 0 && height > 0 && bytesPerPixel > 0 && width <= budget && height <= budget / width &&
      width * height <= budget / bytesPerPixel)
    return true;
  std::string message = "Picture refused: ";
  message += std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (!what.empty()) message += std::string(" (") + std::string(what) + ")";
  message += " exceed the picture memory budget of " + std::to_string(budget / kMebibyte) + " MiB";
  if (FirstRefusal(message)) Log().Write(message);
  return false;
}

}  // namespace kiv
