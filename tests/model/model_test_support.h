#pragma once
// Projects parsed from text and a scripted source of chance for the show model tests.
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "base/memory_stream.h"
#include "ini/ini_file.h"
#include "model/random_source.h"

namespace kiv {

inline std::unique_ptr<TIniFile> ParseProject(std::string_view text) {
  auto project = std::make_unique<TIniFile>();
  TMemoryStream stream(std::vector<uint8_t>(text.begin(), text.end()));
  project->LoadFromStream(stream);
  return project;
}

// Hands out the scripted draws in order (each taken modulo n), then 0 for ever, and
// records what was asked.
class TScriptedRandom : public IRandomSource {
 public:
  explicit TScriptedRandom(std::vector<uint32_t> draws = {}) : FDraws(draws.begin(), draws.end()) {}
  uint32_t Random(uint32_t n) override {
    Ranges.push_back(n);
    if (FDraws.empty() || n == 0) return 0;
    const uint32_t draw = FDraws.front();
    FDraws.pop_front();
    return draw % n;
  }
  void Reseed() override { ++Reseeds; }

  std::vector<uint32_t> Ranges;  // the n of every draw
  int Reseeds = 0;

 private:
  std::deque<uint32_t> FDraws;
};

// Installs a scripted source as the process-wide one for the life of a test.
class TProcessRandomScope {
 public:
  explicit TProcessRandomScope(IRandomSource& source) { SetRandomSource(&source); }
  ~TProcessRandomScope() { SetRandomSource(nullptr); }
};

}  // namespace kiv
