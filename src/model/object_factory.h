#pragma once
// The chain of object factories: each knows some kind words (the value after ":" in an
// object's header, lower-cased) and makes the object of that kind; the first that
// answers wins, and a word no factory knows makes no object.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/kiv_object.h"

namespace kiv {

// The object of kind below parent, or none when kind is not one of the factory's.
using TObjectFactory =
    std::function<std::unique_ptr<TKivObject>(std::u16string_view kind, TKivObject& parent, const std::u16string& guid)>;

class TObjectFactoryChain {
 public:
  // Factories are asked in the order they were added.
  void Add(TObjectFactory factory) { FFactories.push_back(std::move(factory)); }

  // A factory that makes T(parent, guid) for each of words (lower case).
  template <typename T>
  void AddKind(std::vector<std::u16string> words) {
    Add([words = std::move(words)](std::u16string_view kind, TKivObject& parent,
                                   const std::u16string& guid) -> std::unique_ptr<TKivObject> {
      for (const std::u16string& word : words)
        if (word == kind) return std::make_unique<T>(parent, guid);
      return nullptr;
    });
  }

  std::unique_ptr<TKivObject> Make(std::u16string_view kind, TKivObject& parent, const std::u16string& guid) const;

 private:
  std::vector<TObjectFactory> FFactories;
};

}  // namespace kiv
