#include "container/file_accessor.h"

#include "base/file_stream.h"
#include "base/progress_hook.h"
#include "base/text.h"
#include "base/file_names.h"
#include "container/loose_files.h"

namespace kiv {

TFileAccessor::TFileAccessor(std::shared_ptr<TFileSource> source, std::u16string baseFolder)
    : FSource(std::move(source)), FBaseFolder(std::move(baseFolder)) {}

std::unique_ptr<TStream> TFileAccessor::OpenExactStream(std::u16string_view name) const {
  try {
    std::lock_guard lock(FSource->Lock());
    return FSource->OpenExactStream(name);
  } catch (const EKivError&) {
    return nullptr;
  }
}

std::unique_ptr<TStream> TFileAccessor::OpenStream(std::u16string_view name) const {
  std::unique_ptr<TStream> stream;
  try {
    std::unique_ptr<TStream> opened;
    {
      std::lock_guard lock(FSource->Lock());
      opened = FSource->OpenStream(name);
    }
    if (!opened) return nullptr;
    const int64_t size = opened->GetSize();
    auto window = std::make_unique<TPartialStream>(opened.release(), true, size, 0);
    window->SetProgress(256, [](TPartialStream&) { ProgressHook(); });
    stream = std::move(window);
  } catch (const EKivError&) {
    return nullptr;
  }
  if (FReadHook) stream = FReadHook(name, std::move(stream));
  return stream;
}

std::unique_ptr<accessor::TKivImage> TFileAccessor::LoadPicture(std::u16string_view name) const {
  std::shared_ptr<TImageHandle> handle = SharedImageHandle(name, *FSource);
  handle->Load(*this, name);
  return std::make_unique<accessor::TKivImage>(std::move(handle));
}

bool TFileAccessor::ResolvePath(std::u16string& name) const {
  std::string found = FindLooseFile(name);
  if (found.empty()) found = FindLooseFile(FBaseFolder + FileNameOf(name));
  if (found.empty()) return false;
  name = Utf8ToUtf16(found);
  return true;
}

std::unique_ptr<TStream> TFileAccessor::OpenRealFile(std::u16string_view name) const {
  std::u16string resolved(name);
  if (!ResolvePath(resolved)) return nullptr;
  try {
    return std::make_unique<TFileStream>(Utf16ToUtf8(resolved), TFileMode::OpenRead);
  } catch (const EFOpenError&) {
    return nullptr;
  }
}

}  // namespace kiv
