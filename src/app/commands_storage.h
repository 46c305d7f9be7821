#pragma once
// The option table of the command line: a hash list of options, each holding the
// parameters that followed it. Names are kept as typed; Find compares them exactly.
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

struct TCommandItem {
  std::u16string Text;
};

// One option and its parameters in command-line order.
struct TCommand {
  std::u16string Name;
  std::vector<TCommandItem> Items;
};

class TCommandsStorage {
 public:
  static constexpr size_t BucketCount = 251;
  // The bucket of a name: its ELF hash modulo the bucket count.
  static size_t BucketOf(std::u16string_view name);

  // The entry of that exact name, or nullptr.
  const TCommand* Find(std::u16string_view name) const;
  // The entry of that exact name, created empty when missing.
  TCommand& Add(std::u16string_view name);

 private:
  TCommand* Lookup(std::u16string_view name) const;

  // Entries never move once created, so references from Add stay valid.
  std::array<std::vector<std::unique_ptr<TCommand>>, BucketCount> FBuckets;
};

}  // namespace kiv
