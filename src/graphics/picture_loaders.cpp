#include "graphics/picture_loaders.h"

#include <algorithm>
#include <cstring>

#include "base/file_names.h"
#include "base/log.h"
#include "base/picture_budget.h"
#include "base/text.h"

namespace kiv {

namespace {

std::u16string ExtensionOf(std::u16string_view fileName) {
  const std::u16string name = FileNameOf(fileName);
  const size_t dot = name.rfind(u'.');
  return dot == std::u16string::npos ? std::u16string() : LowerCase(std::u16string_view(name).substr(dot));
}

bool StartsWithPngSignature(TStream& stream) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const int64_t position = stream.GetPosition();
  uint8_t head[8] = {};
  const int64_t n = stream.Read(head, 8);
  stream.SetPosition(position);
  return n == 8 && std::memcmp(head, kSignature, 8) == 0;
}

// One loader's try: a loader that fails to read or cannot get memory has not loaded
// the picture, and the stream is put back for the next one.
std::shared_ptr<TBitmapStore> TryLoader(TPictureLoader loader, TStream& stream, std::u16string_view fileName) {
  const int64_t position = stream.GetPosition();
  try {
    return loader(stream, fileName);
  } catch (const std::exception& error) {
    Log().Write("Picture loader failed on " + Utf16ToUtf8(fileName) + ": " + error.what());
  }
  try {
    stream.SetPosition(position);
  } catch (const std::exception&) {
  }
  return nullptr;
}

}  // namespace

std::u16string NormalizeExtension(std::u16string_view extension) {
  while (!extension.empty() && extension.front() < 33) extension.remove_prefix(1);
  if (!extension.empty() && extension.front() == u'*') extension.remove_prefix(1);
  std::u16string normalized = LowerCase(extension);
  if (normalized.empty() || normalized.front() != u'.') normalized.insert(normalized.begin(), u'.');
  return normalized;
}

void TPictureLoaderRegistry::Register(TPictureLoader loader, std::vector<std::u16string_view> extensions) {
  TEntry entry{loader, {}};
  for (std::u16string_view extension : extensions) entry.Extensions.push_back(NormalizeExtension(extension));
  FEntries.push_back(std::move(entry));
}

std::shared_ptr<TBitmapStore> TPictureLoaderRegistry::Load(TStream& stream, std::u16string_view fileName) const {
  std::u16string extension = ExtensionOf(fileName);
  if (extension == u".bmp" && StartsWithPngSignature(stream)) extension = u".png";
  for (const TEntry& entry : FEntries) {
    const bool handles = extension.empty() || std::find(entry.Extensions.begin(), entry.Extensions.end(),
                                                        extension) != entry.Extensions.end();
    if (!handles) continue;
    std::shared_ptr<TBitmapStore> store = TryLoader(entry.Loader, stream, fileName);
    if (!store) continue;
    // Only the headers are read so far: a picture too large is refused before its pixels
    // are allocated.
    if (!FitsPictureBudget(store->Width(), store->Height(), BytesPerPixel(store->Format()), Utf16ToUtf8(fileName)))
      return nullptr;
    return store;
  }
  return nullptr;
}

std::shared_ptr<TBitmapStore> LoadBitmapStore(TStream& stream, std::u16string_view fileName) {
  return PictureLoaders().Load(stream, fileName);
}

}  // namespace kiv
