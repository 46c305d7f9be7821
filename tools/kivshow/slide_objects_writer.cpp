#include "kivshow/slide_objects_writer.h"

#include "container/file_accessor.h"
#include "graphics/text_params.h"
#include "model/kiv_button.h"
#include "model/kiv_text.h"
#include "model/prepare_now.h"
#include "model/slide_host.h"
#include "model/slide_producer.h"
#include "model/standard_object_kinds.h"

namespace kiv {

namespace {

// A text's font, its lines as shown, and whether the show stores it laid out (else it is
// drawn from the fonts installed where it plays).
void WriteText(TJsonWriter& json, const TKivObject& object, const TTextKeys& keys, std::vector<std::u16string> lines) {
  TTextParams params;
  params.FontName = keys.FontName;
  params.Style = keys.FontStyle;
  params.Lines = std::move(lines);
  json.Value("font", FontSpecText(params.FontName, params.Style));
  std::u16string joined;
  for (const std::u16string& line : params.Lines) joined += (joined.empty() ? u"" : u"\n") + line;
  json.Value("text", joined);
  const TFileAccessor* files = object.Host().Accessor();
  json.Value("stored", files && files->OpenExactStream(StoredVectorTextName(params)) != nullptr);
}

void WriteObjects(TJsonWriter& json, const TKivObject& parent) {
  json.BeginArray("objects");
  for (const std::unique_ptr<TKivObject>& child : parent.Children()) {
    json.BeginObject();
    json.Value("kind", child->Kind());
    json.Value("name", child->Name());
    json.Value("width", double(child->Size().Width));
    json.Value("height", double(child->Size().Height));
    if (auto* text = dynamic_cast<TKivText*>(child.get()); text && !text->TextKeys().Empty)
      WriteText(json, *child, text->TextKeys(), text->ShownLines());
    if (auto* button = dynamic_cast<const TKivButton*>(child.get()); button && button->ButtonKeys().Caption)
      WriteText(json, *child, *button->ButtonKeys().Caption, button->ButtonKeys().Caption->Lines);
    if (!child->Children().empty()) WriteObjects(json, *child);
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

struct TSlideObjectsWriter::TParts {
  explicit TParts(TKivSource& source) : Producer(source, StandardObjectKinds(), PrepareHost) {}
  // Only sizes are written: shadows never change one, and blurring a shadow for every
  // picture of a long show would cost most of the time.
  static void PrepareHost(TKivSlideHost& host) {
    InstallStandardPictureProviders(host);
    host.SetShadowsMade(false);
  }
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
