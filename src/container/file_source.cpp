#include "container/file_source.h"

#include <atomic>

#include "base/file_stream.h"
#include "base/text.h"
#include "graphics/rotated_bitmap_store.h"
#include "ini/ini_file.h"
#include "container/loose_files.h"

namespace kiv {

namespace {

std::atomic<uint32_t> gSourceCounter{0};
constexpr int kMaxMapSteps = 8;

bool IsRelative(std::u16string_view name) {
  const bool drive = name.size() >= 2 && name[1] == u':';
  return !name.empty() && name[0] != u'/' && name[0] != u'\\' && !drive;
}

}  // namespace

TFileSource::TFileSource() : FNumber(++gSourceCounter) {}

void TFileSource::AddPictureProvider(TPictureProvider provider) {
  std::lock_guard lock(FProvidersLock);
  FProviders.push_back(std::move(provider));
}

std::shared_ptr<TBitmapStore> TFileSource::ProvidePicture(std::u16string_view name) const {
  std::lock_guard lock(FProvidersLock);
  for (const TPictureProvider& provider : FProviders)
    if (std::shared_ptr<TBitmapStore> store = provider(name)) return store;
  return nullptr;
}

std::shared_ptr<TBitmapStore> TFileSource::Oriented(std::u16string_view, std::shared_ptr<TBitmapStore> store) const {
  return store;
}

std::unique_ptr<TStream> TRealFileSource::OpenDiskFile(std::u16string_view name) const {
  const std::u16string full = IsRelative(name) && !FBaseFolder.empty() ? FBaseFolder + std::u16string(name)
                                                                       : std::u16string(name);
  const std::string path = FindLooseFile(full);
  if (path.empty()) return nullptr;
  try {
    return std::make_unique<TFileStream>(path, TFileMode::OpenRead);
  } catch (const EFOpenError&) {
    return nullptr;
  }
}

std::unique_ptr<TStream> TRealFileSource::OpenStream(std::u16string_view name) { return OpenDiskFile(name); }

void TMappedFileSource::LoadMaps(const TIniFile& project) {
  FFileMap.Load(project.FindSection(u"FileMap"));
  FRotations.Load(project.FindSection(u"RotationState"));
}

std::shared_ptr<TBitmapStore> TMappedFileSource::Oriented(std::u16string_view name,
                                                          std::shared_ptr<TBitmapStore> store) const {
  return UprightBitmapStore(std::move(store), FRotations.Orientation(name));
}

template <typename Open>
std::unique_ptr<TStream> TMappedFileSource::OpenMapped(std::u16string_view name, Open openUnmapped) const {
  std::u16string current(name);
  for (int step = 0; step < kMaxMapSteps; ++step) {
    const std::u16string* target = FFileMap.Target(current);
    if (!target || SameTextIgnoringCase(*target, current)) break;
    current = *target;
  }
  return openUnmapped(current);
}

std::unique_ptr<TStream> TMappedFileSource::OpenStream(std::u16string_view name) {
  return OpenMapped(name, [this](std::u16string_view file) { return OpenDiskFile(file); });
}

TPackedFileSource::TPackedFileSource(std::unique_ptr<TKivUnpack> container) : FContainer(std::move(container)) {}

std::unique_ptr<TStream> TPackedFileSource::OpenStream(std::u16string_view name) {
  return OpenMapped(name, [this](std::u16string_view entry) { return FContainer->OpenEntry(entry); });
}

std::unique_ptr<TStream> TPackedFileSource::OpenExactStream(std::u16string_view name) {
  return FContainer->HasExactEntry(name) ? FContainer->OpenEntry(name) : nullptr;
}

}  // namespace kiv
