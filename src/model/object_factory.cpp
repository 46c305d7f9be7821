#include "model/object_factory.h"

namespace kiv {

std::unique_ptr<TKivObject> TObjectFactoryChain::Make(std::u16string_view kind, TKivObject& parent,
                                                      const std::u16string& guid) const {
  for (const TObjectFactory& factory : FFactories)
    if (std::unique_ptr<TKivObject> object = factory(kind, parent, guid)) return object;
  return nullptr;
}

}  // namespace kiv
