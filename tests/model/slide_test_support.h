#pragma once
// Slides built from project text for the object-tree tests: an 800 × 600 slide centred
// at (400, 300) of the slide area, seen from the camera (400, 300, −600), with boxes
// ("Size") and groups as the object kinds.
#include <memory>
#include <string_view>
#include <utility>

#include "ini/ini_file.h"
#include "model/kiv_slide.h"
#include "model/object_factory.h"
#include "model/slide_host.h"
#include "support/project_text.h"

namespace kiv {

// An object of a given size: the simplest kind that shows something.
class TTestBox : public TKivObject {
 public:
  using TKivObject::TKivObject;
  void ReadProperties(const TIniIdentList& section) override {
    const TIniPoint size = section.ReadPoint(u"Size", {});
    SetSize({float(size.X), float(size.Y)});
    TKivObject::ReadProperties(section);
  }
};

inline TObjectFactoryChain TestKinds() {
  TObjectFactoryChain kinds;
  kinds.AddKind<TTestBox>({u"box", u"image"});
  kinds.AddKind<TKivObject>({u"group"});
  return kinds;
}

struct TTestSlide {
  static constexpr float kWidth = 800;
  static constexpr float kHeight = 600;

  explicit TTestSlide(std::string_view text, TSlideInfo timing = {0, 10000, 0, 0, 10000, {}},
                      TObjectFactoryChain kinds = TestKinds())
      : Project(ParseProject(text)), Host(nullptr, std::move(kinds)), Slide(Host) {
    Host.SetCameraQuery([] { return TVector3{kWidth / 2, kHeight / 2, -kHeight}; });
    Slide.SetSize({kWidth, kHeight});
    Slide.SetCentre(kWidth / 2, kHeight / 2);
    Slide.SetTiming(timing);
    Slide.ReadChildren(Section());
  }

  const TIniSection& Section() const { return *Project->FindSection(u"Slide1"); }
  // Re-reads the slide's objects from the (changed) project.
  void Reload() { Slide.ReadChildren(Section()); }
  TKivObject& Child(size_t index) const { return *Slide.Children().at(index); }
  void AdvanceTo(double time) { Slide.Advance(true, time); }

  std::unique_ptr<TIniFile> Project;
  TKivSlideHost Host;
  TKivSlide Slide;
};

}  // namespace kiv
