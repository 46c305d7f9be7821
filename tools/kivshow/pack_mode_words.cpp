#include "kivshow/pack_mode_words.h"

#include <array>
#include <utility>

namespace kiv {

namespace {

constexpr std::array<std::pair<TPackMode, std::string_view>, 3> kWords = {{
    {TPackMode::Stored, "stored"},
    {TPackMode::Deflated, "deflated"},
    {TPackMode::Enciphered, "enciphered"},
}};

}  // namespace

std::string PackModeWord(TPackMode mode) {
  for (const auto& [known, word] : kWords)
    if (known == mode) return std::string(word);
  return "mode " + std::to_string(int(mode));
}

std::optional<TPackMode> PackModeOfWord(std::string_view word) {
  for (const auto& [mode, known] : kWords)
    if (known == word) return mode;
  return std::nullopt;
}

}  // namespace kiv
