#pragma once
// What the rest of the player holds to reach the files of a show: a shared source, the
// show's base folder, and an optional hook that may replace what is read.
#include <functional>
#include <memory>
#include <string>

#include "container/file_source.h"
#include "container/shared_pictures.h"

namespace kiv {

class TFileAccessor {
 public:
  // Called with the name and the opened stream; answers the stream to use instead.
  using TReadHook = std::function<std::unique_ptr<TStream>(std::u16string_view name, std::unique_ptr<TStream>)>;

  // baseFolder ends with "/".
  TFileAccessor(std::shared_ptr<TFileSource> source, std::u16string baseFolder);

  // The named file of the show, wrapped in a window that yields through the progress
  // hook while data moves; nullptr when it cannot be opened (failures of the source
  // included).
  std::unique_ptr<TStream> OpenStream(std::u16string_view name) const;
  // The show entry of exactly name, case counting (stored texts are keyed by their text);
  // no folder is resolved and no read hook applies.
  std::unique_ptr<TStream> OpenExactStream(std::u16string_view name) const;
  // True when name is a file on disk; otherwise tries the base folder + the file-name
  // part of name. On success name becomes the path found.
  bool ResolvePath(std::u16string& name) const;
  // The resolved file opened read-only, or nullptr.
  std::unique_ptr<TStream> OpenRealFile(std::u16string_view name) const;

  // The named picture, decoded once per source and shared; the placeholder picture when
  // it is missing or cannot be decoded.
  std::unique_ptr<accessor::TKivImage> LoadPicture(std::u16string_view name) const;

  void SetReadHook(TReadHook hook) { FReadHook = std::move(hook); }
  void SetBaseFolder(std::u16string folder) { FBaseFolder = std::move(folder); }
  TFileSource& Source() const { return *FSource; }
  const std::shared_ptr<TFileSource>& SharedSource() const { return FSource; }
  const std::u16string& BaseFolder() const { return FBaseFolder; }

 private:
  std::shared_ptr<TFileSource> FSource;
  TReadHook FReadHook;
  std::u16string FBaseFolder;
};

}  // namespace kiv
