#include "model/kiv_text.h"

#include "container/file_accessor.h"
#include "graphics/text_producer.h"
#include "model/key_size.h"
#include "model/kiv_slide.h"
#include "model/macro_text.h"
#include "model/object_quad.h"
#include "model/slide_host.h"
#include "model/slide_macro_values.h"
#include "model/text_fit.h"

namespace kiv {

namespace {

std::optional<TSlideMacroValues::TMainPicture> MainPictureFacts(const TKivSlide& slide) {
  const TKivImage* main = slide.MainImage();
  if (!main) return std::nullopt;
  TSlideMacroValues::TMainPicture facts;
  facts.RecordedName = main->ImageKeys().ImageName;
  TKivSlideHost& host = slide.Host();
  facts.PixelSize = [main, &host]() -> std::pair<int, int> {
    std::shared_ptr<TBitmapStore> picture = main->Picture();
    try {
      if (!picture) picture = host.LoadPicture(main->ImageKeys().ImageName);
    } catch (const std::exception&) {
    }
    return picture ? std::pair{picture->Width(), picture->Height()} : std::pair{0, 0};
  };
  const TFileAccessor* files = host.Accessor();
  facts.ReadFile = [files, name = facts.RecordedName]() -> std::optional<std::vector<uint8_t>> {
    const std::unique_ptr<TStream> stream = files ? files->OpenStream(name) : nullptr;
    if (!stream) return std::nullopt;
    const int64_t size = stream->GetSize();
    if (size <= 0 || uint64_t(size) > kMaxMetadataPictureBytes) return std::nullopt;
    std::vector<uint8_t> bytes(size_t(size), 0);
    if (stream->Read(bytes.data(), size) != size) return std::nullopt;
    return bytes;
  };
  return facts;
}

}  // namespace

TTextParams TextParamsOf(const TTextKeys& keys, std::vector<std::u16string> lines) {
  TTextParams params;
  params.FontName = keys.FontName;
  params.Style = keys.FontStyle;
  params.Align = uint8_t(keys.Align);
  params.LineSpacing = keys.LineSpacing;
  params.Red = uint8_t(keys.TextColor >> 16);
  params.Green = uint8_t(keys.TextColor >> 8);
  params.Blue = uint8_t(keys.TextColor);
  params.Lines = std::move(lines);
  return params;
}

uint32_t TKivText::LookColor() const {
  switch (Look()) {
    case TButtonState::Hover:
      return FText.TextColorHover;
    case TButtonState::Click:
      return FText.TextColorClick;
    case TButtonState::Normal:
      break;
  }
  return FText.TextColor;
}

const std::vector<std::u16string>& TKivText::ShownLines() const { return FShownLines ? *FShownLines : FText.Lines; }

const std::vector<std::u16string>& TKivText::ExpandedLines() {
  if (!FShownLines) {
    TSlideMacroValues values(Slide().ShowPosition() + 1, Host().SlidesCount(), MainPictureFacts(Slide()));
    FShownLines.emplace();
    for (const std::u16string& line : FText.Lines) FShownLines->push_back(TMTParser::Expand(line, values));
  }
  return *FShownLines;
}

void TKivText::ReadProperties(const TIniIdentList& section) {
  FText = ReadTextKeys(section, Kind());
  FShownLines.reset();
  FMeasuredBox.reset();
  FFit.reset();
  SetImageKeys(FText.Image);
  SetSize(KeySize(FText.BlackBoxSize));
  TKivObject::ReadProperties(section);
}

bool TKivText::UsesStoredPicture() const { return FText.Rasterize && !FText.RasterizedGUID.empty(); }

void TKivText::EnsurePicture() {
  if (!UsesStoredPicture() && !FText.Empty && FMeasuredBox != Size()) Measure();
  TKivImage::EnsurePicture();
}

void TKivText::Measure() {
  FMeasuredBox = Size();
  FFit.reset();
  if (const std::shared_ptr<TTextProducer>& producer = Host().TextProducer())
    FFit = FitText(*producer, TextParamsOf(FText, ExpandedLines()), Size(), FText.ShiftX, FText.ShiftY);
}

std::u16string TKivText::PictureName() const {
  if (UsesStoredPicture()) return FText.RasterizedGUID;
  if (FText.Empty || !FFit) return {};
  return TextPictureName(FFit->Params);
}

TQuadPlace TKivText::PictureQuad() const {
  const TQuadPlace box = ObjectQuad(*this);
  if (UsesStoredPicture() || !FFit) return box;
  return FittedQuad(box, Size(), *FFit);
}

TPictureParams TKivText::PictureParams(const TQuadPlace& place) const {
  TPictureParams params = TKivImage::PictureParams(place);
  if (UsesStoredPicture()) return params;
  params.Tinted = true;
  params.TintColor = LookColor();
  return params;
}

TShadowCaster TKivText::ShadowCaster(const TPictureParams& params) const {
  TShadowCaster caster = TKivImage::ShadowCaster(params);
  const float lines = float(ShownLines().size());
  caster.OffsetMeasure = 3 * Size().Height / lines;
  caster.BlurFactor = caster.LevelSize.Height / lines / 400 * 1.1f;
  return caster;
}

}  // namespace kiv
