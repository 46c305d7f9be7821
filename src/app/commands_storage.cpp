#include "app/commands_storage.h"

#include "base/elf_hash.h"

namespace kiv {

size_t TCommandsStorage::BucketOf(std::u16string_view name) { return ElfHash(name) % BucketCount; }

TCommand* TCommandsStorage::Lookup(std::u16string_view name) const {
  for (const auto& command : FBuckets[BucketOf(name)])
    if (command->Name == name) return command.get();
  return nullptr;
}

const TCommand* TCommandsStorage::Find(std::u16string_view name) const { return Lookup(name); }

TCommand& TCommandsStorage::Add(std::u16string_view name) {
  if (TCommand* found = Lookup(name)) return *found;
  auto& bucket = FBuckets[BucketOf(name)];
  bucket.push_back(std::make_unique<TCommand>(TCommand{std::u16string(name), {}}));
  return *bucket.back();
}

}  // namespace kiv
