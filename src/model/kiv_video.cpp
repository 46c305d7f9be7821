#include "model/kiv_video.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/text.h"
#include "model/kiv_slide.h"
#include "model/object_quad.h"
#include "model/slide_host.h"
#include "model/video_clips.h"
#include "render/drawer/yuv_3d.h"

namespace kiv {

namespace {

TDeinterlace ReadDeinterlace(const TIniIdentList& section) {
  const std::u16string type = LowerCase(section.ReadString(u"DeinterlaceType", u"Auto"));
  if (type == u"wave") return TDeinterlace::Wave;
  if (type == u"boheven" || type == u"bobeven") return TDeinterlace::BobEven;
  if (type == u"bobodd") return TDeinterlace::BobOdd;
  return TDeinterlace::Auto;
}

void CopyInto(T3DYUV& yuv, int plane, const std::vector<uint8_t>& from, int width, int height) {
  TBitmap* target = yuv.LockPlane(plane);
  if (!target) return;
  const int rows = std::min(height, target->Height());
  const int columns = std::min(width, target->Width());
  for (int row = 0; row < rows; ++row)
    std::memcpy(target->Row(row), from.data() + size_t(row) * size_t(width), size_t(columns));
  yuv.UnlockPlane(plane);
}

}  // namespace

TFieldMode FieldToShow(TDeinterlace type, bool interlaced, bool topFieldFirst, double videoMs, double rate) {
  if (type == TDeinterlace::Wave || !(rate > 0)) return TFieldMode::Progressive;
  if (type == TDeinterlace::Auto && !interlaced) return TFieldMode::Progressive;
  // Frame i covers (i − ½) … (i + ½) frame lengths; the first half shows one field.
  const double frames = videoMs * rate / 1000;
  const bool firstHalf = frames < std::round(frames);
  int field = 0;
  switch (type) {
    case TDeinterlace::Auto:
      field = topFieldFirst == firstHalf ? 2 : 1;
      break;
    case TDeinterlace::BobEven:
      field = firstHalf ? 1 : 2;
      break;
    default:
      field = firstHalf ? 2 : 1;
      break;
  }
  return field == 1 ? TFieldMode::EvenLines : TFieldMode::OddLines;
}

TKivVideo::TKivVideo(TKivObject& parent, std::u16string guid) : TKivImage(parent, std::move(guid)) {}

TKivVideo::~TKivVideo() = default;

TNoVideo TKivVideo::NoVideo() const { return FWrapper ? FWrapper->NoVideo() : TNoVideo::Missing; }

void TKivVideo::ReadProperties(const TIniIdentList& section) {
  TVideoKeys keys = ReadVideoKeys(section);
  if (const TVideoClip2* clip = Host().Videos().Clip(keys.ClipGuid)) {
    const std::u16string guid = keys.ClipGuid;
    keys = clip->Keys();
    keys.ClipGuid = guid;
  }
  if (keys.FileName != FVideo.FileName || keys.LoadFromDisk != FVideo.LoadFromDisk) FWrapper.reset();
  FVideo = std::move(keys);
  FMainVideo = Kind() == u"mainvideo";
  FDeinterlace = ReadDeinterlace(section);
  TKivImage::ReadProperties(section);
}

void TKivVideo::EnsureVideo() {
  if (FWrapper || FVideo.FileName.empty()) return;
  FWrapper = Host().Videos().Wrapper(Host().Accessor(), FVideo.FileName, FVideo.LoadFromDisk);
  if (TKivVideoExtractor* extractor = FWrapper->Extractor()) {
    const TFrameSource& source = extractor->Source();
    SetSize({float(source.Width() * source.PixelAspect()), float(source.Height())});
    SetContentChanged();
  }
}

std::u16string TKivVideo::PictureName() const {
  return FWrapper && FWrapper->NoVideo() == TNoVideo::Picture && !FVideo.LoadFromDisk ? FVideo.FileName : u"";
}

void TKivVideo::LoadResources(IPrepareContext& context) {
  EnsureVideo();
  TKivImage::LoadResources(context);
  if (TKivVideoExtractor* extractor = FWrapper ? FWrapper->Extractor() : nullptr) extractor->Request(FWanted);
}

double TKivVideo::VideoTimeAt(double ms) const {
  const TKivVideoExtractor* extractor = FWrapper ? FWrapper->Extractor() : nullptr;
  double length = 0;
  if (extractor && extractor->Source().Rate() > 0)
    length = double(extractor->Source().FrameCount()) * 1000 / extractor->Source().Rate();
  const double startVideo = length > 0 && (FVideo.StartVideoTime < 0 || FVideo.StartVideoTime >= length)
                                ? 0
                                : std::max(FVideo.StartVideoTime, 0.0);
  double duration = FVideo.Duration;
  if (length > 0 && (duration <= 0 || duration > length)) duration = length;
  const double slideStart = OriginTime(TKeyOrigin::SlideBegin);
  double start = slideStart + std::max(DeltaTime1(), FVideo.StartKivTime);
  // A clip that began on an earlier slide runs on from there.
  if (const TVideoClip2* clip = Host().Videos().Clip(FVideo.ClipGuid); clip && clip->HasStart())
    start -= slideStart - clip->StartTime();
  if (!(ms > start)) return startVideo;
  const double played = ms - start;
  return startVideo + (duration > 0 ? std::min(played, duration) : played);
}

void TKivVideo::SetTime(bool recursive, double time) {
  TKivImage::SetTime(recursive, time);
  EnsureVideo();
  FVideoMs = VideoTimeAt(time);
  const TKivVideoExtractor* extractor = FWrapper ? FWrapper->Extractor() : nullptr;
  const int64_t wanted = extractor ? extractor->FrameAt(FVideoMs) : 0;
  if (wanted != FWanted) {
    FWanted = wanted;
    SetContentChanged();
  }
}

void TKivVideo::Draw(TDeviceDrawer& drawer) {
  EnsureVideo();
  TKivVideoExtractor* extractor = FWrapper ? FWrapper->Extractor() : nullptr;
  if (!extractor) {
    TKivImage::Draw(drawer);
    return;
  }
  if (Visible() && AtLeastOnePixel(Size())) {
    const TFrameSource& source = extractor->Source();
    if (!FYuv) {
      FYuv = drawer.CreateYUV(source.Width(), source.Height());
      FShown = -2;
    }
    if (FYuv) {
      int64_t next = extractor->FrameAt(FVideoMs + 1000.0 / 60);
      if (next == FWanted) ++next;
      const int64_t shown = extractor->Deliver(
          FWanted, next, Host().Videos().FrameWaitMs(), [&](const TVideoFrame& frame, int64_t index) {
            if (index == FShown) return;
            if (FYuv->Planar()) {
              CopyInto(*FYuv, kPlaneY, frame.Y, frame.Width, frame.Height);
              CopyInto(*FYuv, kPlaneU, frame.U, frame.ChromaWidth(), frame.ChromaHeight());
              CopyInto(*FYuv, kPlaneV, frame.V, frame.ChromaWidth(), frame.ChromaHeight());
            } else {
              CopyInto(*FYuv, kPlaneGrey, frame.Y, frame.Width, frame.Height);
            }
            FShown = index;
          });
      if (shown != TKivVideoExtractor::kNone) {
        TPictureParams params;
        params.Smooth = ImageKeys().Antialiased;
        params.Opacity = EffectiveOpacity();
        drawer.DrawVideo(*FYuv, ObjectQuad(*this), params,
                         FieldToShow(FDeinterlace, source.Interlaced(), source.TopFieldFirst(), FVideoMs, source.Rate()));
      }
      // A late frame is drawn again once it is there.
      const auto slack = int64_t(std::ceil(source.Rate() / 60));
      if (shown == TKivVideoExtractor::kNone || std::llabs(shown - FWanted) > slack) {
        SetContentChanged();
        Host().RequestRedraw();
      }
    }
  }
  TKivObject::Draw(drawer);
}

void TKivVideo::ReleaseDeviceObjects(TDeviceDrawer& drawer) {
  FYuv.reset();
  FShown = -2;
  TKivImage::ReleaseDeviceObjects(drawer);
}

}  // namespace kiv
