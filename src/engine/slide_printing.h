#pragma once
// Printing the slide on screen: the whole slide (the snapshot) or only its main picture,
// on a page turned to the picture (landscape when it is wider than tall), fitted to the
// page keeping its proportions and centred, sent to the print system as a PNG page in a
// job named "Slideshow".
#include <cstdint>
#include <string>

#include "engine/slide_pictures.h"

namespace kiv {

inline constexpr char kPrintJobName[] = "Slideshow";
// The resolution pages are drawn at.
inline constexpr int kPrintDotsPerInch = 150;

// Where a picture of width x height goes on a page of pageWidth x pageHeight: as high as
// the page when it is then narrower than the page, else as wide; centred (halves rounded
// toward zero). Empty for a picture or page without area.
struct TPagePlace {
  int64_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TPagePlace&) const = default;
};
TPagePlace FitToPage(int64_t width, int64_t height, int64_t pageWidth, int64_t pageHeight);

struct TPrintChoice {
  std::string Printer;  // UTF-8, as the print system names it
  int Copies = 1;
  bool OnlyMainPicture = false;
};

enum class TPrintOutcome : uint8_t {
  Printed,
  NoPicture,  // neither the main picture nor the snapshot: nothing was started
  Failed,     // the job was refused, or cancelled because its page could not be made or sent
};

// The picture printing takes: the main picture when chosen and there is one, else the
// whole slide; null when there is neither.
std::unique_ptr<TBitmap> PictureToPrint(const TSlidePictures& pictures, bool onlyMainPicture);

// Prints as choice says; error tells why it failed.
TPrintOutcome PrintSlide(const TSlidePictures& pictures, const TPrintChoice& choice, std::string* error = nullptr);

}  // namespace kiv
