#pragma once
// Shows the render benchmarks play: projects packed at run time into data files under the
// temporary folder, and the one offscreen video they are all drawn with.
#include <filesystem>
#include <string>
#include <vector>

#include "render/device/engine_gl.h"

namespace kiv {

// The project in folder packed as a data file named after name; extra files are packed
// under the names the project uses, from its own folder.
std::string PackedShow(const std::filesystem::path& folder, const std::string& name,
                       std::vector<std::string> extraFiles = {});
// The demo show of the source tree, packed once.
const std::string& DemoShow();
// The offscreen video of the process, started once on the main thread.
T3DEngineGL& RenderGraphics();

}  // namespace kiv
