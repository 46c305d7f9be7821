#include "model/prepare_now.h"

namespace kiv {

namespace {

// Prepares each object as soon as it is handed over, so the children follow their parent.
class TImmediateContext : public IPrepareContext {
 public:
  void Add(TKivObject& object) override { object.Prepare(*this); }
};

}  // namespace

void PrepareNow(TKivObject& root) {
  TImmediateContext context;
  root.Prepare(context);
}

}  // namespace kiv
