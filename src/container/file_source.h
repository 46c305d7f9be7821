#pragma once
// Where the files of a show come from: loose files on disk, loose files through the
// project's FileMap, or the entries of a show container. Sources are shared by the
// accessors that hold them; every open runs under the source's lock.
#include <memory>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/stream.h"
#include "container/file_map.h"
#include "container/kiv_unpack.h"
#include "graphics/bitmap_store.h"

namespace kiv {

class TIniFile;

class TFileSource {
 public:
  TFileSource();
  virtual ~TFileSource() = default;
  TFileSource(const TFileSource&) = delete;
  TFileSource& operator=(const TFileSource&) = delete;

  // The named file as a stream, or nullptr.
  virtual std::unique_ptr<TStream> OpenStream(std::u16string_view name) = 0;
  // The entry stored under exactly name (case counting), for names that are keys rather
  // than file names (stored texts); as OpenStream for files on disk.
  virtual std::unique_ptr<TStream> OpenExactStream(std::u16string_view name) { return OpenStream(name); }

  // Pictures that are made rather than read (texts, buttons, masks ...) come from
  // providers; the first that answers a name wins.
  using TPictureProvider = std::function<std::shared_ptr<TBitmapStore>(std::u16string_view name)>;
  void AddPictureProvider(TPictureProvider provider);
  std::shared_ptr<TBitmapStore> ProvidePicture(std::u16string_view name) const;
  // The decoded picture of name turned upright as the show records; unchanged here.
  virtual std::shared_ptr<TBitmapStore> Oriented(std::u16string_view name, std::shared_ptr<TBitmapStore> store) const;

  // Unique per source, so pictures of equal names from two shows are told apart.
  uint32_t Number() const { return FNumber; }
  std::mutex& Lock() { return FLock; }

 private:
  std::mutex FLock;
  uint32_t FNumber;
  mutable std::mutex FProvidersLock;
  std::vector<TPictureProvider> FProviders;
};

// Files on disk. A relative name is taken from the base folder.
class TRealFileSource : public TFileSource {
 public:
  explicit TRealFileSource(std::u16string baseFolder = {}) : FBaseFolder(std::move(baseFolder)) {}
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) override;

 protected:
  std::unique_ptr<TStream> OpenDiskFile(std::u16string_view name) const;

 private:
  std::u16string FBaseFolder;
};

// Files on disk, with the project's FileMap and RotationState.
class TMappedFileSource : public TRealFileSource {
 public:
  using TRealFileSource::TRealFileSource;
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) override;

  // Reads the FileMap and RotationState sections of the project.
  void LoadMaps(const TIniFile& project);
  const TFileMap& FileMap() const { return FFileMap; }
  const TRotationTable& Rotations() const { return FRotations; }
  // Turned upright as RotationState records for the name.
  std::shared_ptr<TBitmapStore> Oriented(std::u16string_view name, std::shared_ptr<TBitmapStore> store) const override;

 protected:
  // Follows FileMap targets (a bounded number of steps, so a map that names itself
  // cannot loop) and opens the final name with openUnmapped.
  template <typename Open>
  std::unique_ptr<TStream> OpenMapped(std::u16string_view name, Open openUnmapped) const;

 private:
  TFileMap FFileMap;
  TRotationTable FRotations;
};

// The entries of a show container, FileMap first.
class TPackedFileSource : public TMappedFileSource {
 public:
  explicit TPackedFileSource(std::unique_ptr<TKivUnpack> container);
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) override;
  std::unique_ptr<TStream> OpenExactStream(std::u16string_view name) override;
  const TKivUnpack& Container() const { return *FContainer; }

 private:
  std::unique_ptr<TKivUnpack> FContainer;
};

}  // namespace kiv
