// Builds slides from arbitrary project text: every section becomes a slide whose
// objects and keypoints are read, advanced through the slide's life, hit-tested, read
// again as on a reload and advanced again. Reading show data must never fail, animated
// values must stay finite, and every speed profile must keep one key per keypoint and
// read back from its own text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/memory_stream.h"
#include "ini/ini_file.h"
#include "model/kiv_slide.h"
#include "model/object_factory.h"
#include "model/slide_host.h"

namespace {

using namespace kiv;

class TFuzzBox : public TKivObject {
 public:
  using TKivObject::TKivObject;
  void ReadProperties(const TIniIdentList& section) override {
    const TIniPoint size = section.ReadPoint(u"Size", {});
    SetSize({float(size.X), float(size.Y)});
    TKivObject::ReadProperties(section);
  }
};

struct TNoContext : IPrepareContext {
  void Add(TKivObject& object) override { object.Prepare(*this); }
};

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckObject(TKivObject& object) {
  const TKeyValues& v = object.Current();
  for (float value : {v.Opacity, v.Angle, v.ScaleX, v.ScaleY, v.Position.X, v.Position.Y, v.ZPos, v.CenterPos.X,
                      v.CenterPos.Y, v.AngleX, v.AngleY, v.Blur})
    Require(std::isfinite(value));
  for (TSpeedGroup group : {TSpeedGroup::Pan, TSpeedGroup::Zoom, TSpeedGroup::Rotate}) {
    const TSpeedStorage& profile = object.KeyPoints().Profile(group);
    Require(int(profile.Keys().size()) == object.KeyPoints().Count());
    TSpeedStorage copy;
    Require(copy.FromText(profile.AsText()) && copy.AsText() == profile.AsText());
  }
  for (const auto& child : object.Children()) CheckObject(*child);
}

void Play(TKivSlide& slide) {
  for (double time : {-100.0, 0.0, 250.0, 1000.0, 1000.5, 2500.0, 5000.0, 5400.0, 9000.0}) {
    slide.Advance(true, time);
    CheckObject(slide);
    for (float x : {0.0f, 200.0f, 400.0f, 799.0f}) slide.FindAt(x, 300, nullptr);
    slide.Snapshot(true);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  TIniFile project;
  try {
    project.LoadFromStream(stream);
  } catch (const EKivError&) {
    return 0;  // text that cannot be decoded is the reader's business
  }
  TObjectFactoryChain kinds;
  kinds.AddKind<TFuzzBox>({u"box", u"image"});
  kinds.AddKind<TKivObject>({u"group"});
  TKivSlideHost host(nullptr, std::move(kinds));
  host.SetCameraQuery([] { return TVector3{400, 300, -600}; });
  const TIniSection* main = project.FindSection(u"main");
  std::vector<std::u16string> names;
  project.GetSectionNames(names);
  for (const std::u16string& name : names) {
    const TIniSection& section = *project.FindSection(name);
    TKivSlide slide(host);
    slide.SetSize({800, 600});
    slide.SetCentre(400, 300);
    slide.SetTiming({0, 5000, 500, 400, 5400, {}});
    slide.ReadBackground(main ? *main : section, &section);
    slide.ReadChildren(section);
    TNoContext context;
    slide.Prepare(context);
    Play(slide);
    slide.ReadChildren(section);
    Play(slide);
  }
  return 0;
}
