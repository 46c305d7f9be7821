#include "kivshow/render_times.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "kivshow/command_arguments.h"

namespace kiv {

namespace {

// The whole text as a number of type T, or none.
template <typename T>
std::optional<T> WholeNumber(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

int32_t ParseSide(std::string_view text, std::string_view whole) {
  const std::optional<int32_t> side = WholeNumber<int32_t>(text);
  if (!side || *side < kMinFrameSide || *side > kMaxFrameSide)
    throw EUsageError("size \"" + std::string(whole) + "\": each side must be a whole number from " +
                      std::to_string(kMinFrameSide) + " to " + std::to_string(kMaxFrameSide));
  return *side;
}

int32_t ParseTime(std::string_view text, std::string_view what) {
  const std::optional<int32_t> ms = WholeNumber<int32_t>(text);
  if (!ms || *ms < 0)
    throw EUsageError(std::string(what) + " \"" + std::string(text) + "\" is no time: give whole milliseconds, 0 or more");
  return *ms;
}

}  // namespace

TPixelSize ParseFrameSize(std::string_view text) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) throw EUsageError("size \"" + std::string(text) + "\" is not written WxH");
  return {ParseSide(text.substr(0, x), text), ParseSide(text.substr(x + 1), text)};
}

std::vector<int32_t> ParseTimeList(std::string_view text) {
  std::vector<int32_t> times;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    times.push_back(ParseTime(text.substr(start, comma - start), "--at time"));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  std::sort(times.begin(), times.end());
  times.erase(std::unique(times.begin(), times.end()), times.end());
  return times;
}

double ParseFramesPerSecond(std::string_view text) {
  const std::optional<double> fps = WholeNumber<double>(text);
  if (!fps || !(*fps > 0) || *fps > kMaxFramesPerSecond)
    throw EUsageError("--fps \"" + std::string(text) + "\": give a number of frames per second above 0, at most " +
                      std::to_string(int(kMaxFramesPerSecond)));
  return *fps;
}

int32_t ParseTimeOption(std::string_view option, std::string_view text) { return ParseTime(text, option); }

std::vector<int32_t> SteppedTimes(double fps, int32_t fromMs, int32_t toMs) {
  std::vector<int32_t> times;
  for (int64_t frame = 0;; ++frame) {
    const double ms = fromMs + double(frame) * 1000.0 / fps;
    if (ms > toMs + 1e-6) break;
    const auto rounded = int32_t(std::lround(ms));
    if (times.empty() || times.back() != rounded) times.push_back(rounded);
  }
  return times;
}

}  // namespace kiv
