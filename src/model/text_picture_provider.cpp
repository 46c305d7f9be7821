#include "model/text_picture_provider.h"

#include <algorithm>
#include <mutex>

#include "base/progress_hook.h"
#include "container/container_format.h"
#include "graphics/font_cache.h"
#include "graphics/text_producer.h"
#include "model/provider_files.h"
#include "model/slide_host.h"

namespace kiv {

namespace {

// The show's identity: its "ExeGUID" entry; the folder of loose files.
std::u16string ShowIdentity(TFileAccessor& files) {
  const std::unique_ptr<TStream> stream = files.OpenExactStream(kExeGuidEntry);
  if (!stream) return u"folder:" + files.BaseFolder();
  std::vector<uint8_t> bytes(size_t(std::clamp<int64_t>(stream->GetSize(), 0, 4 + 2 * kMaxExeGuidUnits)));
  bytes.resize(size_t(stream->Read(bytes.data(), int64_t(bytes.size()))));
  return ReadExeGuid(bytes);
}

}  // namespace

void InstallTextPictureProvider(TKivSlideHost& host) {
  InstallProvider(host, [&host](TProviderFiles files) -> TFileSource::TPictureProvider {
    auto shared = std::make_shared<TProviderFiles>(std::move(files));
    // The glyph caches of another show are dropped before this show's first stored
    // text is looked up (a show without texts never reads its identity).
    auto identityRead = std::make_shared<std::once_flag>();
    auto producer = std::make_shared<TTextProducer>([shared, identityRead](std::u16string_view name) {
      std::call_once(*identityRead, [&shared] { ResetFontCache(ShowIdentity(shared->Files())); });
      return shared->Files().OpenExactStream(name);
    });
    host.SetTextProducer(producer);
    return [producer](std::u16string_view name) -> std::shared_ptr<TBitmapStore> {
      const std::optional<TTextParams> params = ParseTextPictureName(name);
      if (!params) return nullptr;
      // A player that is stopping cuts long texts short (and keeps no half-drawn one).
      return producer->Render(*params, std::nullopt, [] { return ProgressMode() == TProgressMode::Stop; });
    };
  });
}

}  // namespace kiv
