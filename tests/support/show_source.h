#pragma once
// Show sources made from project text, and scripted sources of chance.
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "model/kiv_source.h"
#include "model/random_source.h"
#include "support/project_text.h"

namespace kiv {

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

// A source of chance that always draws 0.
inline IRandomSource& ZeroRandom() {
  static TScriptedRandom zeros;
  return zeros;
}

// The source of a show given as project text, without files, run as program. Its
// chances draw from random; null takes the process-wide source.
inline std::unique_ptr<TKivSource> SourceOf(std::string_view text, std::u16string_view program = u"show.exe",
                                            IRandomSource* random = &ZeroRandom()) {
  return std::make_unique<TKivSource>(nullptr, ParseProject(text).release(), true, program, random);
}
inline std::unique_ptr<TKivSource> SourceOf(std::string_view text, IRandomSource& random) {
  return SourceOf(text, u"show.exe", &random);
}

}  // namespace kiv
