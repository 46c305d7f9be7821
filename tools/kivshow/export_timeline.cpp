#include "kivshow/export_timeline.h"

#include <charconv>
#include <numeric>
#include <optional>

#include "kivshow/command_arguments.h"
#include "platform/audio_output.h"

namespace kiv {

namespace {

// Digits only, as a number no larger than limit.
std::optional<int64_t> Digits(std::string_view text, int64_t limit) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] == '-' || text[0] == '+' || error != std::errc() || stop != end || value > limit)
    return std::nullopt;
  return value;
}

// numerator / denominator from the words of a rate, none when they are not numbers.
std::optional<TFrameRate> RateOf(std::string_view text) {
  constexpr int64_t kLimit = 1000000;
  int64_t numerator = 0, denominator = 1;
  if (const size_t slash = text.find('/'); slash != std::string_view::npos) {
    const std::optional<int64_t> top = Digits(text.substr(0, slash), kLimit);
    const std::optional<int64_t> bottom = Digits(text.substr(slash + 1), kLimit);
    if (!top || !bottom) return std::nullopt;
    numerator = *top;
    denominator = *bottom;
  } else if (const size_t point = text.find('.'); point != std::string_view::npos) {
    const std::string_view decimals = text.substr(point + 1);
    const std::optional<int64_t> whole = Digits(text.substr(0, point), kLimit);
    const std::optional<int64_t> part = Digits(decimals, kLimit);
    if (!whole || !part || decimals.size() > 3) return std::nullopt;
    for (size_t i = 0; i < decimals.size(); ++i) denominator *= 10;
    numerator = *whole * denominator + *part;
  } else {
    const std::optional<int64_t> whole = Digits(text, kLimit);
    if (!whole) return std::nullopt;
    numerator = *whole;
  }
  if (numerator <= 0 || denominator <= 0 || numerator > kMaxExportFramesPerSecond * denominator) return std::nullopt;
  const int64_t common = std::gcd(numerator, denominator);
  return TFrameRate{int(numerator / common), int(denominator / common)};
}

}  // namespace

std::string TFrameRate::Text() const {
  return Denominator == 1 ? std::to_string(Numerator) : std::to_string(Numerator) + "/" + std::to_string(Denominator);
}

TFrameRate ParseFrameRate(std::string_view text) {
  if (std::optional<TFrameRate> rate = RateOf(text)) return *rate;
  throw EUsageError("--fps \"" + std::string(text) + "\": give frames per second above 0 and at most " +
                    std::to_string(kMaxExportFramesPerSecond) + ", whole (25), with decimals (29.97) or as a fraction " +
                    "(30000/1001)");
}

// Frame k lies at k × 1000 × den / num ms: the frames before toMs are those with
// k × 1000 × den < (toMs − fromMs) × num.
TExportTimeline::TExportTimeline(TFrameRate rate, int32_t fromMs, int32_t toMs)
    : FRate(rate), FFrom(fromMs) {
  const int64_t span = int64_t(toMs - fromMs) * rate.Numerator;
  const int64_t step = int64_t(1000) * rate.Denominator;
  FFrameCount = (span + step - 1) / step;
}

// In 128 bits: a long export at a rate of large terms overflows 64.
int32_t TExportTimeline::FrameTime(int64_t frame) const {
  const __int128 twice = __int128(2) * frame * 1000 * FRate.Denominator;  // rounded half up
  return FFrom + int32_t((twice + FRate.Numerator) / (2 * __int128(FRate.Numerator)));
}

int64_t TExportTimeline::SoundBefore(int64_t frame) const {
  return int64_t(__int128(frame) * kOutputRate * FRate.Denominator / FRate.Numerator);
}

double TExportTimeline::DurationMs(int64_t frames) const {
  return double(frames) * 1000.0 * FRate.Denominator / FRate.Numerator;
}

}  // namespace kiv
