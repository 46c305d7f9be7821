#pragma once
// Loads the resources of a whole object tree at once, in tree order, for callers that
// do not spread the work over time.
#include "model/kiv_object.h"

namespace kiv {

void PrepareNow(TKivObject& root);

}  // namespace kiv
