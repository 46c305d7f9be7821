#pragma once
// Project text of shows for tests.
#include <string>
#include <string_view>
#include <vector>

namespace kiv {

// "[main]" of a show whose slides end at the given times (ms), with cross-fades of
// fadeMs between the slides when fadeMs is above 0. More keys of "[main]" may follow.
std::string SlidesEndingAt(const std::vector<int>& ends, int fadeMs = 0);

// The ends of count slides of lengthMs each: lengthMs, 2 × lengthMs, …
std::vector<int> EvenSlideEnds(int count, int lengthMs);

// A show of count slides of 4000 ms with 1000 ms transitions on a 640 × 480 design,
// ending as repeat says, with more keys of "[main]" in mainExtra. Each slide holds a
// 400 × 300 box "S1" … at its natural size with an action, under a larger box that lets
// clicks through. missingSlide (1-based; 0 for none) has no section.
std::string SlideShowText(int count, std::string_view repeat = "repeat", std::string_view mainExtra = "",
                          int missingSlide = 0);

}  // namespace kiv
