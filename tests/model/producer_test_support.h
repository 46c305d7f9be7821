#pragma once
// Shows for the slide producer, cache and loader tests: slides of 4000 ms with 1000 ms
// transitions on a 640 × 480 design, each holding a 400 × 300 box "S1" … at its natural
// size with an action, under a larger box that lets clicks through.
#include <functional>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "model/slide_producer.h"
#include "model/slide_test_support.h"

namespace kiv {

// missingSlide (1-based; 0 for none) has no section.
inline std::string SlideShowText(int count, std::string_view repeat = "repeat", std::string_view mainExtra = "",
                                 int missingSlide = 0) {
  std::string text = "[main]\nopt_slidescount=" + std::to_string(count) +
                     "\nopt_fx_enable=1\nopt_fx_time=1000\nopt_fx_eff3=1\nopt_scr_width=640\nopt_scr_height=480\n"
                     "opt_repeat=" + std::string(repeat) + "\n" + std::string(mainExtra);
  for (int n = 1; n <= count; ++n) text += "opt_synchpos" + std::to_string(n) + "=" + std::to_string(n * 4000) + "\n";
  for (int n = 1; n <= count; ++n)
    if (n != missingSlide)
      text += "[Slide" + std::to_string(n) + "]\nslideid=s" + std::to_string(n) + "\nobject S" + std::to_string(n) +
              ": box\n  Size=400,300\n  FitMode=None\n  Action=gotoslide(s3)\nend\n"
              "object Glass: box\n  Size=1000,1000\n  FitMode=None\n  TranspForClick=1\nend\n";
  return text;
}

// A source and its producer, which reads the show time from Now.
struct TProducerShow {
  explicit TProducerShow(std::string_view text)
      : Source(nullptr, ParseProject(text).release(), true, u"show.exe", &Random), Producer(Source, TestKinds(), {}) {
    Producer.SetCurrentTiming([this] { return Now; });
  }

  TScriptedRandom Random;
  TKivSource Source;
  TSlideProducer Producer;
  double Now = 0;
};

// The text of the assertion call raised, or "no failure".
inline std::string FailureOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EAssertionFailed& failure) {
    return failure.Text();
  }
  return "no failure";
}

}  // namespace kiv
