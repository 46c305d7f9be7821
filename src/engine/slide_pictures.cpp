#include "engine/slide_pictures.h"

#include "base/text.h"
#include "container/file_accessor.h"
#include "base/memory_stream.h"
#include "graphics/bitmap_store.h"
#include "graphics/picture_loaders.h"
#include "graphics/bitmap_convert.h"
#include "graphics/picture_encoders.h"
#include "model/kiv_source.h"
#include "model/slide_order.h"

namespace kiv {

namespace {

bool IsJpegName(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string extension = LowerCase(std::u16string(name.substr(dot)));
  return extension == u".jpg" || extension == u".jpeg" || extension == u".jpe" || extension == u".jfif";
}

std::u16string WithExtension(std::u16string name, std::u16string_view extension) {
  const size_t dot = name.rfind(u'.');
  if (dot != std::u16string::npos) name.resize(dot);
  return name + std::u16string(extension);
}

}  // namespace

std::u16string FileNamePart(std::u16string_view name, std::u16string_view fallback) {
  const size_t slash = name.find_last_of(u"/\\");
  std::u16string part(slash == std::u16string_view::npos ? name : name.substr(slash + 1));
  if (part.empty() || part == u"." || part == u"..") return std::u16string(fallback);
  return part;
}

TSlidePictures::TSlidePictures(const TKivSource* show, std::shared_ptr<const TBitmap> snapshot, int slideIndex)
    : FShow(show), FSnapshot(std::move(snapshot)), FSlideIndex(slideIndex) {
  if (!FShow || FSlideIndex < 0) return;
  if (const TIniSection* section = SlideSection(FShow->Document(), FSlideIndex))
    FMainName = section->ReadString(u"picture", u"");
}

const TBitmap* TSlidePictures::WholeSlide() const {
  return FSnapshot && FSnapshot->Width() > 0 && FSnapshot->Height() > 0 ? FSnapshot.get() : nullptr;
}

std::optional<std::vector<uint8_t>> TSlidePictures::MainPictureBytes() const {
  if (FMainName.empty() || !FShow || !FShow->Container()) return std::nullopt;
  // In the show, else a loose file beside the project.
  std::unique_ptr<TStream> stream = FShow->Container()->OpenStream(FMainName);
  if (!stream) stream = FShow->Container()->OpenRealFile(FMainName);
  if (!stream) return std::nullopt;
  const int64_t size = stream->GetSize();
  if (size <= 0 || size > (int64_t(1) << 31)) return std::nullopt;
  std::vector<uint8_t> bytes(size_t(size), 0);
  stream->SetPosition(0);
  if (stream->Read(bytes.data(), size) != size) return std::nullopt;
  return bytes;
}

std::unique_ptr<TBitmap> TSlidePictures::MainPicture() const {
  std::optional<std::vector<uint8_t>> bytes = MainPictureBytes();
  if (!bytes) return nullptr;
  try {
    TMemoryStream stream;
    stream.Write(bytes->data(), int64_t(bytes->size()));
    stream.SetPosition(0);
    const std::shared_ptr<TBitmapStore> store = LoadBitmapStore(stream, FMainName);
    const std::shared_ptr<const TBitmap> pixels = store ? store->GetMipLevel(0, TPixelFormat::Bgr24) : nullptr;
    return pixels ? ConvertBitmap(*pixels, TPixelFormat::Bgr24) : nullptr;
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::optional<TSlideFile> TSlidePictures::MainPictureFile() const {
  const std::u16string name = FileNamePart(FMainName, u"");
  if (name.empty()) return std::nullopt;
  if (IsJpegName(name)) {
    std::optional<std::vector<uint8_t>> bytes = MainPictureBytes();
    if (!bytes) return std::nullopt;
    return TSlideFile{std::move(*bytes), name};
  }
  const std::unique_ptr<TBitmap> picture = MainPicture();
  if (!picture) return std::nullopt;
  std::vector<uint8_t> bmp = EncodeBmp(*picture);
  if (bmp.empty()) return std::nullopt;
  return TSlideFile{std::move(bmp), WithExtension(name, u".bmp")};
}

std::optional<TSlideFile> TSlidePictures::WholeSlideFile() const {
  const TBitmap* slide = WholeSlide();
  if (!slide) return std::nullopt;
  std::vector<uint8_t> bmp = EncodeBmp(*slide);
  if (bmp.empty()) return std::nullopt;
  return TSlideFile{std::move(bmp), u"Slide" + IntToText(int64_t(FSlideIndex) + 1) + u".bmp"};
}

}  // namespace kiv
