#pragma once
// Counts one more for the lifetime of the scope: nesting depths that unwind with failures.
namespace kiv {

class TScopedCount {
 public:
  explicit TScopedCount(int& count) : FCount(count) { ++FCount; }
  ~TScopedCount() { --FCount; }
  TScopedCount(const TScopedCount&) = delete;
  TScopedCount& operator=(const TScopedCount&) = delete;

 private:
  int& FCount;
};

}  // namespace kiv
