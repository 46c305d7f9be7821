#pragma once
// Opens a show for the commands that look into one.
#include <memory>
#include <string>

#include "container/kiv_unpack.h"
#include "model/show_locator.h"

namespace kiv {

// The opened container; raises EKivError "<path>: not found", "<path>: is a folder",
// "<path>: not a show container" or "<path>: " + the container's own error when it
// cannot be used.
std::unique_ptr<TKivUnpack> OpenShowContainer(const std::string& path);

// The show at path: a show container, or else a project file with loose files. Raises
// EKivError "<path>: " + "not found", "is a folder", the container's error, or why the
// file is no project ("no [main] section: …").
std::unique_ptr<TKivShowLocator> OpenShowOrProject(const std::string& path);

}  // namespace kiv
