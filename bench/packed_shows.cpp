#include "packed_shows.h"

#include <unistd.h>

#include <memory>

#include "kivshow/show_packer.h"
#include "kivshow/show_renderer.h"

namespace kiv {

namespace fs = std::filesystem;

std::string PackedShow(const fs::path& folder, const std::string& name, std::vector<std::string> extraFiles) {
  const std::string show =
      (fs::temp_directory_path() / ("kiv_render_bench_" + name + "_" + std::to_string(::getpid()))).string();
  const fs::path previous = fs::current_path();
  fs::current_path(folder);
  TShowPackRequest request;
  request.ProjectPath = "Project.kiv";
  request.OutputPath = show;
  request.DataFile = true;
  request.ExtraFiles = std::move(extraFiles);
  PackShow(request);
  fs::current_path(previous);
  return show;
}

const std::string& DemoShow() {
  static const std::string path = PackedShow(fs::path(KIV_SOURCE_DIR) / "examples" / "demo", "demo",
                                             {"buttons/aqua/btn.ini", "buttons/aqua/aqua.png"});
  return path;
}

T3DEngineGL& RenderGraphics() {
  static const std::unique_ptr<T3DEngineGL> graphics = StartRenderGraphics();
  return *graphics;
}

}  // namespace kiv
