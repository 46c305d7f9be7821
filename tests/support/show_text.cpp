#include "support/show_text.h"

namespace kiv {

std::string SlidesEndingAt(const std::vector<int>& ends, int fadeMs) {
  std::string text = "[main]\nopt_slidescount=" + std::to_string(ends.size()) + "\n";
  for (size_t n = 0; n < ends.size(); ++n)
    text += "opt_synchpos" + std::to_string(n + 1) + "=" + std::to_string(ends[n]) + "\n";
  if (fadeMs > 0) text += "opt_fx_enable=1\nopt_fx_time=" + std::to_string(fadeMs) + "\nopt_fx_eff3=1\n";
  return text;
}

std::vector<int> EvenSlideEnds(int count, int lengthMs) {
  std::vector<int> ends;
  for (int n = 1; n <= count; ++n) ends.push_back(n * lengthMs);
  return ends;
}

std::string SlideShowText(int count, std::string_view repeat, std::string_view mainExtra, int missingSlide) {
  std::string text = SlidesEndingAt(EvenSlideEnds(count, 4000), 1000) + "opt_scr_width=640\nopt_scr_height=480\n" +
                     "opt_repeat=" + std::string(repeat) + "\n" + std::string(mainExtra);
  for (int n = 1; n <= count; ++n)
    if (n != missingSlide)
      text += "[Slide" + std::to_string(n) + "]\nslideid=s" + std::to_string(n) + "\nobject S" + std::to_string(n) +
              ": box\n  Size=400,300\n  FitMode=None\n  Action=gotoslide(s3)\nend\n"
              "object Glass: box\n  Size=1000,1000\n  FitMode=None\n  TranspForClick=1\nend\n";
  return text;
}

}  // namespace kiv
