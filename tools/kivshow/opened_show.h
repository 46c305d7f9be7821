#pragma once
// Opens a show for the commands that look into one.
#include <memory>
#include <string>

#include "container/kiv_unpack.h"

namespace kiv {

// The opened container; raises EKivError "<path>: not a show container" or
// "<path>: " + the container's own error when it cannot be used.
std::unique_ptr<TKivUnpack> OpenShowContainer(const std::string& path);

}  // namespace kiv
