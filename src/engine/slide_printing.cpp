#include "engine/slide_printing.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "base/log.h"
#include "graphics/bitmap_convert.h"
#include "graphics/bitmap_scale.h"
#include "graphics/picture_encoders.h"
#include "platform/printers.h"

namespace kiv {

namespace {

// The white page with picture placed on it; null when it cannot be made.
std::unique_ptr<TBitmap> ComposePage(const TBitmap& picture, int pageWidth, int pageHeight) {
  if (!AllowedPictureSize(pageWidth, pageHeight)) return nullptr;
  const TPagePlace place = FitToPage(picture.Width(), picture.Height(), pageWidth, pageHeight);
  const std::unique_ptr<TBitmap> fitted = StretchBitmap(picture, int(place.Width), int(place.Height));
  if (!fitted) return nullptr;
  auto page = std::make_unique<TBitmap>(pageWidth, pageHeight, TPixelFormat::Bgr24);
  for (int y = 0; y < pageHeight; ++y) std::memset(page->Row(y), 0xFF, size_t(pageWidth) * 3);
  for (int y = 0; y < fitted->Height(); ++y)
    std::memcpy(page->Row(int(place.Top) + y) + place.Left * 3, fitted->Row(y), size_t(fitted->Width()) * 3);
  return page;
}

}  // namespace

TPagePlace FitToPage(int64_t width, int64_t height, int64_t pageWidth, int64_t pageHeight) {
  if (width <= 0 || height <= 0 || pageWidth <= 0 || pageHeight <= 0) return {};
  TPagePlace place;
  place.Width = width * pageHeight / height;
  place.Height = pageHeight;
  if (place.Width >= pageWidth) {
    place.Width = pageWidth;
    place.Height = height * pageWidth / width;
  }
  place.Left = (pageWidth - place.Width) / 2;
  place.Top = (pageHeight - place.Height) / 2;
  return place;
}

std::unique_ptr<TBitmap> PictureToPrint(const TSlidePictures& pictures, bool onlyMainPicture) {
  if (onlyMainPicture)
    if (std::unique_ptr<TBitmap> main = pictures.MainPicture()) return main;
  const TBitmap* slide = pictures.WholeSlide();
  return slide ? ConvertBitmap(*slide, TPixelFormat::Bgr24) : nullptr;
}

TPrintOutcome PrintSlide(const TSlidePictures& pictures, const TPrintChoice& choice, std::string* error) {
  const auto fail = [error](std::string why) {
    Log().Write("PrintSlide: " + why);
    if (error) *error = std::move(why);
    return TPrintOutcome::Failed;
  };
  const std::unique_ptr<TBitmap> picture = PictureToPrint(pictures, choice.OnlyMainPicture);
  if (!picture) return TPrintOutcome::NoPicture;
  const bool landscape = picture->Height() < picture->Width();
  const TPaperSize paper = PrinterPaper(choice.Printer);
  int pageWidth = int(int64_t(paper.Width) * kPrintDotsPerInch / 72);
  int pageHeight = int(int64_t(paper.Height) * kPrintDotsPerInch / 72);
  if (landscape) std::swap(pageWidth, pageHeight);

  TPrintJob job({choice.Printer, kPrintJobName, std::max(choice.Copies, 1), landscape});
  if (!job.Start()) return fail("the printer " + choice.Printer + " took no job: " + job.Error());
  std::vector<uint8_t> png;
  try {
    if (const std::unique_ptr<TBitmap> page = ComposePage(*picture, pageWidth, pageHeight)) png = EncodePng(*page);
  } catch (const std::exception& failure) {
    png.clear();
    Log().Write(std::string("PrintSlide: ") + failure.what());
  }
  if (png.empty()) return fail("the page could not be drawn");  // the job goes with it
  if (!job.Send("image/png", png)) return fail("the page could not be sent: " + job.Error());
  Log().Write("PrintSlide: printed on " + choice.Printer);
  return TPrintOutcome::Printed;
}

}  // namespace kiv
