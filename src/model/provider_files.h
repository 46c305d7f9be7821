#pragma once
// The files of a show as a picture provider reads them. The provider lives inside the
// file source, so it reaches the source without holding it (holding it would keep the
// source alive for ever), and it decodes pictures itself rather than through the shared
// picture table, which asks the providers first and is busy while they run.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "container/file_accessor.h"
#include "graphics/bitmap.h"

namespace kiv {

class TProviderFiles {
 public:
  TProviderFiles(TFileSource& source, std::u16string baseFolder);

  TFileAccessor& Files() { return FFiles; }
  // The picture of name at full size in 32 bits; none when it is missing or cannot be
  // decoded.
  std::shared_ptr<const TBitmap> DecodePicture(std::u16string_view name) const;

 private:
  TFileAccessor FFiles;
};

class TKivSlideHost;

// Adds the provider that make builds from the show's files to the file source of host's
// accessor; nothing without one.
void InstallProvider(TKivSlideHost& host,
                     const std::function<TFileSource::TPictureProvider(TProviderFiles files)>& make);

}  // namespace kiv
