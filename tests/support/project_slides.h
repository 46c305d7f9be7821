#pragma once
// Slides of a show, made as the slide loader makes them: by a slide producer with the
// standard object kinds, for an output of a given size, each wrapped in the entry the
// engine draws and prepared.
#include <memory>
#include <string>

#include "engine/container_slide_entry.h"
#include "model/kiv_source.h"
#include "model/standard_object_kinds.h"
#include "support/show_source.h"

namespace kiv {

class TProjectSlides {
 public:
  // The slides of source (kept, not owned).
  TProjectSlides(TKivSource& source, TPixelSize output) : FProducer(Producer(source, output)) {}
  // The slides of a project given as text, without files.
  TProjectSlides(const std::string& project, TPixelSize output)
      : FOwnSource(SourceOf(project, u"/shows/show.exe", nullptr)), FProducer(Producer(*FOwnSource, output)) {}

  // The entry of the slide at index (0-based) as the loader hands it over, prepared.
  // Entries keep the producer but not the source: they go before this object.
  std::shared_ptr<TContainerSlideEntry> Entry(int index) {
    auto entry = std::make_shared<TContainerSlideEntry>(FProducer, FProducer->MakeContainer(index));
    entry->LoadResources();
    return entry;
  }
  // Where the slide area lies in the output.
  TRect Area() const { return FProducer->SlideAreaRect(); }

 private:
  static std::shared_ptr<TSlideProducer> Producer(TKivSource& source, TPixelSize output) {
    auto producer = std::make_shared<TSlideProducer>(source, StandardObjectKinds(), InstallStandardPictureProviders);
    producer->SetOutput({output.Width, output.Height}, TSlideFit::Inside, 100, 100);
    producer->SetCurrentTiming([] { return 0.0; });
    return producer;
  }

  std::unique_ptr<TKivSource> FOwnSource;
  std::shared_ptr<TSlideProducer> FProducer;
};

// The objects of a slide section: a box of colour (project text "r,g,b") over the whole
// slide area of a 400 x 300 show and, when inner is given, a box of that colour over its
// middle (half its width and height).
inline std::string BoxSlide(const std::string& colour, const std::string& inner = "") {
  std::string slide = "object Back: box\n  Size=400,300\n  Color1=" + colour + "\nend\n";
  if (!inner.empty())
    slide += "object Middle: box\n  Size=400,300\n  Color1=" + inner +
             "\n  object K: keypoint\n    ScaleX=50\n    ScaleY=50\n  end\nend\n";
  return slide;
}

}  // namespace kiv
