#pragma once
// Sources and producers of shows for the slide producer, cache and loader tests, whose
// shows come from SlideShowText.
#include <functional>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "model/slide_producer.h"
#include "model/slide_test_support.h"
#include "support/show_source.h"
#include "support/show_text.h"

namespace kiv {

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
