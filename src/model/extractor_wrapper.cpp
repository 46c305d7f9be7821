#include "model/extractor_wrapper.h"

#include "base/file_names.h"
#include "base/text.h"
#include "container/file_accessor.h"
#include "container/loose_files.h"
#include "model/win_video_source.h"

namespace kiv {

namespace {

bool IsAbsoluteName(std::u16string_view name) {
  return (!name.empty() && (name[0] == u'/' || name[0] == u'\\')) ||
         (name.size() > 2 && name[1] == u':' && (name[2] == u'\\' || name[2] == u'/'));
}

}  // namespace

std::string FindDiskVideo(const std::u16string& name, const std::u16string& showFolder) {
  if (name.empty()) return "";
  if (IsAbsoluteName(name)) {
    std::string found = FindLooseFile(name);
    if (!found.empty() || showFolder.empty()) return found;
    return FindLooseFile(showFolder + FileNameOf(name));
  }
  std::string found = FindLooseFile(showFolder + name);
  if (found.empty()) found = FindLooseFile(showFolder + FileNameOf(name));
  return found;
}

TExtractorWrapper::TExtractorWrapper(const TFileAccessor* accessor, std::u16string name, bool fromDisk)
    : FName(std::move(name)), FFromDisk(fromDisk) {
  std::unique_ptr<TWinVideoSource> source;
  bool opened = false;
  if (fromDisk) {
    const std::string path = FindDiskVideo(FName, accessor ? accessor->BaseFolder() : u"");
    opened = !path.empty();
    if (opened) source = TWinVideoSource::OpenFile(path);
  } else if (accessor) {
    std::unique_ptr<TStream> stream = accessor->OpenStream(FName);
    opened = stream != nullptr;
    if (opened) source = TWinVideoSource::Open(std::move(stream));
  }
  if (!source) {
    FNoVideo = opened ? TNoVideo::Picture : TNoVideo::Missing;
    return;
  }
  FNoVideo = TNoVideo::Video;
  FExtractor = std::make_unique<TKivVideoExtractor>(std::move(source));
}

}  // namespace kiv
