#pragma once
// A video clip on a slide ("video", "mainvideo"): it shows the frame of its clip that
// the show's time asks for, decoded ahead by the clip's extractor and drawn through the
// drawer's YUV planes. A clip of the registry ("ClipGUID") takes the clip's keys and runs
// on across the slides that show it. A file that opens only as a picture shows as that
// picture; a missing one shows nothing.
#include <cstdint>
#include <memory>

#include "model/extractor_wrapper.h"
#include "model/kiv_image.h"
#include "model/video_clip2.h"
#include "render/drawer/device_drawer.h"

namespace kiv {

class T3DYUV;

enum class TDeinterlace : uint8_t { Auto = 0, Wave = 1, BobEven = 2, BobOdd = 3 };

// Which field a frame is drawn with at videoMs, for a clip of rate frames per second.
TFieldMode FieldToShow(TDeinterlace type, bool interlaced, bool topFieldFirst, double videoMs, double rate);

class TKivVideo : public TKivImage {
 public:
  TKivVideo(TKivObject& parent, std::u16string guid);
  ~TKivVideo() override;

  const TVideoKeys& VideoKeys() const { return FVideo; }
  bool MainVideo() const { return FMainVideo; }
  TDeinterlace Deinterlace() const { return FDeinterlace; }
  // The clip's time shown at the show time last set (ms into the file), and its frame.
  double VideoTime() const { return FVideoMs; }
  int64_t WantedFrame() const { return FWanted; }
  // The frame last drawn (-2 before the first).
  int64_t ShownFrame() const { return FShown; }
  TNoVideo NoVideo() const;

  void ReadProperties(const TIniIdentList& section) override;
  // Opens the clip and asks for the frame of the current time.
  void LoadResources(IPrepareContext& context) override;
  void SetTime(bool recursive, double time) override;
  void Draw(TDeviceDrawer& drawer) override;
  void ReleaseDeviceObjects(TDeviceDrawer& drawer) override;

 protected:
  // The file itself when it is a picture rather than a clip; else none.
  std::u16string PictureName() const override;

 private:
  void EnsureVideo();
  // The clip's time at show time ms.
  double VideoTimeAt(double ms) const;

  TVideoKeys FVideo;  // the clip's keys when it names one
  bool FMainVideo = false;
  TDeinterlace FDeinterlace = TDeinterlace::Auto;
  std::shared_ptr<TExtractorWrapper> FWrapper;
  std::unique_ptr<T3DYUV> FYuv;
  double FVideoMs = 0;
  int64_t FWanted = 0;
  int64_t FShown = -2;
};

}  // namespace kiv
