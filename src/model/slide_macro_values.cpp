#include "model/slide_macro_values.h"

#include <utility>

#include "base/text.h"

namespace kiv {

namespace {

// The IPTC application-record dataset a macro shows; 0 for the other macros.
int IptcDataset(TMacro which) {
  switch (which) {
    case TMacro::IptcDocumentTitle: return 5;  // object name
    case TMacro::IptcSpecialInstructions: return 40;
    case TMacro::IptcAuthorByline: return 80;
    case TMacro::IptcAuthorTitle: return 85;
    case TMacro::IptcCity: return 90;
    case TMacro::IptcSublocation: return 92;
    case TMacro::IptcProvinceState: return 95;
    case TMacro::IptcCountry: return 101;
    case TMacro::IptcOTR: return 103;  // original transmission reference
    case TMacro::IptcHeadline: return 105;
    case TMacro::IptcCredits: return 110;
    case TMacro::IptcSource: return 115;
    case TMacro::IptcCopyright: return 116;
    case TMacro::IptcCaptionDescription: return 120;
    case TMacro::IptcCaptionWriter: return 122;  // writer / editor
    default: return 0;
  }
}

}  // namespace

TSlideMacroValues::TSlideMacroValues(int slideNumber, int slideCount, std::optional<TMainPicture> mainPicture)
    : FSlideNumber(slideNumber), FSlideCount(slideCount), FPicture(std::move(mainPicture)) {}

std::u16string TSlideMacroValues::MacroValue(TMacro which) {
  if (which == TMacro::SlideIndex) return IntToText(FSlideNumber);
  if (which == TMacro::SlidesCount) return IntToText(FSlideCount);
  if (!FPicture) return {};
  switch (which) {
    case TMacro::MainImgWidth: return IntToText(PixelSize().first);
    case TMacro::MainImgHeight: return IntToText(PixelSize().second);
    case TMacro::PathNameExt: return FPicture->RecordedName;
    case TMacro::ExifComment: return Metadata().ExifComment;
    case TMacro::ExifDescription: return Metadata().ExifDescription;
    case TMacro::ExifDateTime: return Metadata().ExifDateTime;
    default: return Metadata().FirstIptc(IptcDataset(which));
  }
}

std::pair<int, int> TSlideMacroValues::PixelSize() {
  if (!FPixelSize) FPixelSize = FPicture->PixelSize ? FPicture->PixelSize() : std::pair{0, 0};
  return *FPixelSize;
}

const TPictureMetadata& TSlideMacroValues::Metadata() {
  if (!FMetadata) {
    std::optional<std::vector<uint8_t>> bytes;
    if (FPicture->ReadFile) bytes = FPicture->ReadFile();
    std::optional<TPictureMetadata> read;
    if (bytes) read = ReadPictureMetadata(*bytes);
    FMetadata = read ? std::move(*read) : TPictureMetadata();
  }
  return *FMetadata;
}

}  // namespace kiv
