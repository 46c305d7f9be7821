#pragma once
// One object of a slide parsed from project text, for the tests of the per-kind keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/project_text.h"

namespace kiv {

struct TParsedObject {
  std::unique_ptr<TIniFile> Project;
  TIniObject* Object = nullptr;
};

// "[Slide1]" holding one object "O" of kind with the given key lines.
inline TParsedObject ParseObject(const std::string& kind, const std::string& keys = {}) {
  TParsedObject parsed{ParseProject("[Slide1]\nobject O: " + kind + "\n" + keys + "end\n"), nullptr};
  parsed.Object = parsed.Project->FindSection(u"Slide1")->FirstObject();
  EXPECT_NE(parsed.Object, nullptr);
  return parsed;
}

}  // namespace kiv
