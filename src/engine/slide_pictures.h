#pragma once
// What printing and saving take from the slide on screen: the snapshot of the slides
// (the whole slide) and the slide's main picture, the file its section names under
// "picture". The slide is the one at a position of the show's slide order, so a shuffled
// show gives the picture on screen.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace kiv {

class TKivSource;

// A file to be saved: its bytes and the name proposed for it (a file name, no folder).
struct TSlideFile {
  std::vector<uint8_t> Bytes;
  std::u16string Name;
};

class TSlidePictures {
 public:
  // show (kept, not owned; may be null), the snapshot (may be null) and the position of
  // the slide in the show's order (-1: unknown).
  TSlidePictures(const TKivSource* show, std::shared_ptr<const TBitmap> snapshot, int slideIndex);

  int SlideIndex() const { return FSlideIndex; }
  // The snapshot; null when there is none or it is empty.
  const TBitmap* WholeSlide() const;
  // The main picture's name as the show gives it; empty when the slide has none.
  const std::u16string& MainPictureName() const { return FMainName; }
  // The main picture decoded (Bgr24); null when the slide has none or it cannot be read.
  std::unique_ptr<TBitmap> MainPicture() const;
  // The main picture as a file: a JPEG byte for byte under its own name, any other
  // picture as a BMP file named with ".bmp". None when there is no main picture.
  std::optional<TSlideFile> MainPictureFile() const;
  // The snapshot as the BMP file "Slide<n+1>.bmp"; none without a snapshot.
  std::optional<TSlideFile> WholeSlideFile() const;

 private:
  std::optional<std::vector<uint8_t>> MainPictureBytes() const;

  const TKivSource* FShow;
  std::shared_ptr<const TBitmap> FSnapshot;
  int FSlideIndex;
  std::u16string FMainName;
};

// The file-name part of name (after the last "/" or "\"); fallback when that is empty,
// "." or "..". A name from a show so never leads out of the folder it is saved in.
std::u16string FileNamePart(std::u16string_view name, std::u16string_view fallback);

}  // namespace kiv
