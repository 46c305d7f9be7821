#include "model/text_picture_provider.h"

#include <algorithm>

#include "container/container_format.h"
#include "graphics/font_cache.h"
#include "graphics/text_producer.h"
#include "model/provider_files.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

// The show's identity: its "ExeGUID" entry; none for loose files.
std::u16string ShowIdentity(TFileAccessor& files) {
  const std::unique_ptr<TStream> stream = files.OpenStream(kExeGuidEntry);
  if (!stream) return {};
  std::vector<uint8_t> bytes(size_t(std::clamp<int64_t>(stream->GetSize(), 0, 4 + 2 * kMaxExeGuidUnits)));
  bytes.resize(size_t(stream->Read(bytes.data(), int64_t(bytes.size()))));
  return ReadExeGuid(bytes);
}

}  // namespace

void InstallTextPictureProvider(TKivSlideHost& host) {
  InstallProvider(host, [&host](TProviderFiles files) -> TFileSource::TPictureProvider {
    auto shared = std::make_shared<TProviderFiles>(std::move(files));
    ResetFontCache(ShowIdentity(shared->Files()));
    auto producer = std::make_shared<TTextProducer>(
        [shared](std::u16string_view name) { return shared->Files().OpenExactStream(name); });
    host.SetTextProducer(producer);
    return [producer](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
      const std::optional<TTextParams> params = ParseTextPictureName(name);
      if (!params) return nullptr;
      return producer->Render(*params);
    };
  });
}

}  // namespace kiv
