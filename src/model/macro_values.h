#pragma once
// The facts a text's macros stand for, and where their values come from.
#include <string>

namespace kiv {

// The macros asked for their value directly, in the order they are replaced, and the
// one fact that feeds macros computed from it without being a macro itself.
enum class TMacro {
  SlideIndex,        // position in the show order, counted from 1
  SlidesCount,
  MainImgWidth,      // pixels of the main picture's whole file
  MainImgHeight,
  ExifComment,
  ExifDescription,
  PathNameExt,       // the main picture's file as the show records it
  IptcDocumentTitle,
  IptcSpecialInstructions,
  IptcAuthorByline,
  IptcAuthorTitle,
  IptcCity,
  IptcSublocation,
  IptcProvinceState,
  IptcCountry,
  IptcOTR,
  IptcHeadline,
  IptcCredits,
  IptcSource,
  IptcCopyright,
  IptcCaptionDescription,
  IptcCaptionWriter,
  ExifDateTime,      // "YYYY:MM:DD HH:MM:SS", the source of the date and time macros
};

inline constexpr int kMacroCount = int(TMacro::ExifDateTime) + 1;

// Answers the value of each macro for one slide; empty text for whatever is unknown.
class IMacroValues {
 public:
  virtual ~IMacroValues() = default;
  virtual std::u16string MacroValue(TMacro which) = 0;
};

}  // namespace kiv
