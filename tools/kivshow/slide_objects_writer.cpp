#include "kivshow/slide_objects_writer.h"

#include "model/prepare_now.h"
#include "model/slide_producer.h"
#include "model/standard_object_kinds.h"

namespace kiv {

namespace {

void WriteObjects(TJsonWriter& json, const TKivObject& parent) {
  json.BeginArray("objects");
  for (const std::unique_ptr<TKivObject>& child : parent.Children()) {
    json.BeginObject();
    json.Value("kind", child->Kind());
    json.Value("name", child->Name());
    json.Value("width", double(child->Size().Width));
    json.Value("height", double(child->Size().Height));
    if (!child->Children().empty()) WriteObjects(json, *child);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

struct TSlideObjectsWriter::TParts {
  explicit TParts(TKivSource& source) : Producer(source, StandardObjectKinds(), InstallStandardPictureProviders) {}
  TSlideProducer Producer;
};

TSlideObjectsWriter::TSlideObjectsWriter(TKivSource& source) : FParts(std::make_unique<TParts>(source)) {
  // Sizes are reported for the show's own design size.
  const TShowDesign design = ReadShowDesign(source.MainSection());
  FParts->Producer.SetOutput(design.Size, TSlideFit::Inside, 100, 100);
}

TSlideObjectsWriter::~TSlideObjectsWriter() = default;

void TSlideObjectsWriter::Write(TJsonWriter& json, int index) {
  std::unique_ptr<TKivSlide> slide = FParts->Producer.MakeSlide(index);
  if (!slide) {
    json.Value("buildError", true);
    json.BeginArray("objects");
    json.EndArray();
    return;
  }
  PrepareNow(*slide);
  WriteObjects(json, *slide);
}

}  // namespace kiv
