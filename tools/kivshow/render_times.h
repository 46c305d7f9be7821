#pragma once
// The words of kivshow render's command line that say what to render: the frame size
// and the show times. Each parser raises EUsageError with a message naming the bad word.
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/rect.h"

namespace kiv {

// The largest side a rendered frame may have.
inline constexpr int32_t kMaxFrameSide = 8192;
// The smallest side the engine renders at.
inline constexpr int32_t kMinFrameSide = 10;
inline constexpr double kMaxFramesPerSecond = 1000;

// "WxH", each side from kMinFrameSide to kMaxFrameSide.
TPixelSize ParseFrameSize(std::string_view text);

// "t1,t2,..." in whole milliseconds, none negative; answered in ascending order
// without repeats, since the show clock only runs forward.
std::vector<int32_t> ParseTimeList(std::string_view text);

// A positive number of frames per second, at most kMaxFramesPerSecond.
double ParseFramesPerSecond(std::string_view text);
// A time in whole milliseconds, not negative; option names the option for the message.
int32_t ParseTimeOption(std::string_view option, std::string_view text);

// The times from fromMs to toMs (both included when they fall on a frame) at fps frames
// per second, each rounded to the millisecond.
std::vector<int32_t> SteppedTimes(double fps, int32_t fromMs, int32_t toMs);

}  // namespace kiv
