#pragma once
// The macro values of one slide: its place in the show and the facts of its main
// picture, the metadata among them read from the picture's file on first demand.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "graphics/picture_metadata.h"
#include "model/macro_values.h"

namespace kiv {

class TSlideMacroValues : public IMacroValues {
 public:
  struct TMainPicture {
    std::u16string RecordedName;  // the file as the show records it, folder and all
    // Width and height in pixels of the whole picture, not of a reduced level; asked
    // only when a size macro is (it may decode the picture).
    std::function<std::pair<int, int>()> PixelSize;
    // The bytes of the picture's file; none (or no function) when it cannot be read.
    std::function<std::optional<std::vector<uint8_t>>()> ReadFile;
  };

  // slideNumber counts from 1 in show order. Without a main picture every macro of the
  // picture is empty.
  TSlideMacroValues(int slideNumber, int slideCount, std::optional<TMainPicture> mainPicture = std::nullopt);

  std::u16string MacroValue(TMacro which) override;

 private:
  // Read from the file once, the first time a metadata macro is asked; empty when the
  // file cannot be read or holds none.
  const TPictureMetadata& Metadata();
  // Asked of the picture once.
  std::pair<int, int> PixelSize();

  int FSlideNumber;
  int FSlideCount;
  std::optional<TMainPicture> FPicture;
  std::optional<TPictureMetadata> FMetadata;
  std::optional<std::pair<int, int>> FPixelSize;
};

}  // namespace kiv
