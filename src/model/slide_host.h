#pragma once
// The services that every slide of one show view shares: the show's files and pictures,
// the factory chain of object kinds, and what the slide producer tells about the view
// (camera, hit-test filter, redraw requests).
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "container/file_source.h"
#include "graphics/bitmap_store.h"
#include "model/button_skin.h"
#include "model/object_factory.h"
#include "base/vector3.h"

namespace kiv {

class TFileAccessor;
class TButtonSkinCatalog;
class TTextProducer;
class TVideoClips;

// Whether name describes a picture to be made rather than a file: "Text: ", "Button: ",
// "Shadow: ", "Mask: ", "PresetedMask: " or "SlideEffectBuffer" and a number.
bool IsVirtualPictureName(std::u16string_view name);

class TKivSlideHost {
 public:
  // accessor (not owned, may be none: then there are no pictures) reaches the show's
  // files; factories make the objects of the slides.
  TKivSlideHost(TFileAccessor* accessor, TObjectFactoryChain factories);
  ~TKivSlideHost();
  TKivSlideHost(const TKivSlideHost&) = delete;
  TKivSlideHost& operator=(const TKivSlideHost&) = delete;

  TFileAccessor* Accessor() const { return FAccessor; }
  const TObjectFactoryChain& Factories() const { return FFactories; }

  // The folder prefix of button skins ("PathToButtons" of "main").
  const std::u16string& ButtonPath() const { return FButtonPath; }
  void SetButtonPath(std::u16string path);
  // The skin of a button theme (or of the fall-back theme), read once per theme for all
  // the slides of the view, from any thread; none without accessor or skin.
  std::shared_ptr<const TButtonSkin> ButtonSkin(std::u16string_view theme) const;

  // The picture of name. A file of the show is decoded once per file source and shared
  // while anyone holds it; a missing one gives the placeholder picture. A virtual name
  // comes from the picture providers only and is none when no provider makes it (a
  // shadow or mask that cannot be made shows nothing rather than a placeholder).
  // None without accessor.
  std::shared_ptr<TBitmapStore> LoadPicture(std::u16string_view name) const;
  // Makes the pictures of virtual names. The provider lives with the file source,
  // which may outlive this host: it must not refer to the host.
  void AddPictureProvider(TFileSource::TPictureProvider provider);

  // Renders and measures the texts of the view; none until the text provider is
  // installed (then texts show nothing).
  const std::shared_ptr<TTextProducer>& TextProducer() const { return FTextProducer; }
  void SetTextProducer(std::shared_ptr<TTextProducer> producer) { FTextProducer = std::move(producer); }

  // The number of slides of the show ("opt_slidescount"), for the texts that tell it.
  int32_t SlidesCount() const { return FSlidesCount; }
  void SetSlidesCount(int32_t count) { FSlidesCount = count; }

  // The camera of the current view in slide-area pixels (its z is negative: in front
  // of the screen). None until the producer tells how to ask.
  void SetCameraQuery(std::function<TVector3()> query) { FCameraQuery = std::move(query); }
  std::optional<TVector3> Camera() const;

  // Whether preparing an object also makes its drop shadow (off for callers that only
  // measure objects and never draw them).
  bool ShadowsMade() const { return FShadowsMade; }
  void SetShadowsMade(bool made) { FShadowsMade = made; }

  // Which objects may be clicked (all when none is installed).
  void SetHitFilter(std::function<bool(const TKivObject&)> filter) { FHitFilter = std::move(filter); }
  const std::function<bool(const TKivObject&)>& HitFilter() const { return FHitFilter; }

  // The clip registry and opened clip files of the view's video objects.
  TVideoClips& Videos() const { return *FVideos; }

  // For objects whose look changes by itself (a clip frame arrived, a picture loaded).
  void SetRedrawRequest(std::function<void()> request) { FRedrawRequest = std::move(request); }
  void RequestRedraw() const;

 private:
  TFileAccessor* FAccessor;
  TObjectFactoryChain FFactories;
  std::u16string FButtonPath;
  std::shared_ptr<TTextProducer> FTextProducer;
  int32_t FSlidesCount = 0;
  bool FShadowsMade = true;
  mutable std::mutex FSkinsLock;
  mutable std::unique_ptr<TButtonSkinCatalog> FSkins;  // made on first use, for FButtonPath
  std::function<TVector3()> FCameraQuery;
  std::function<bool(const TKivObject&)> FHitFilter;
  std::function<void()> FRedrawRequest;
  std::unique_ptr<TVideoClips> FVideos;
};

}  // namespace kiv
