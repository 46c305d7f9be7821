#pragma once
// Projects parsed from text.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "base/memory_stream.h"
#include "ini/ini_file.h"

namespace kiv {

inline std::unique_ptr<TIniFile> ParseProject(std::string_view text) {
  auto project = std::make_unique<TIniFile>();
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  project->LoadFromStream(stream);
  return project;
}

}  // namespace kiv
