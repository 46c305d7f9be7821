#pragma once
// One opened clip file of a slide host, shared by every video object showing it: its
// source and extractor, or why there is none (the file is a picture, or is missing).
#include <memory>
#include <string>

#include "model/kiv_video_extractor.h"

namespace kiv {

class TFileAccessor;

enum class TNoVideo { Video = 0, Picture = 1, Missing = 2 };

// The regular file on disk a show names with "LoadFromDisk": the name as written when
// absolute, else from the show's folder, then the file-name part in the show's folder;
// either separator, letter case found as on disk. "" when there is none (a folder, a
// FIFO or a device is none).
std::string FindDiskVideo(const std::u16string& name, const std::u16string& showFolder);

class TExtractorWrapper {
 public:
  // Opens name from the show (accessor may be null: then only disk files open).
  TExtractorWrapper(const TFileAccessor* accessor, std::u16string name, bool fromDisk);

  const std::u16string& Name() const { return FName; }
  bool FromDisk() const { return FFromDisk; }
  TNoVideo NoVideo() const { return FNoVideo; }
  // Null unless NoVideo() is Video.
  TKivVideoExtractor* Extractor() const { return FExtractor.get(); }

 private:
  std::u16string FName;
  bool FFromDisk;
  TNoVideo FNoVideo = TNoVideo::Missing;
  std::unique_ptr<TKivVideoExtractor> FExtractor;
};

}  // namespace kiv
