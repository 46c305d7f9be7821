#include "graphics/bmp_loader.h"

#include <new>

#include "base/memory_stream.h"
#include "graphics/bmp_decoder.h"

namespace kiv {

namespace {

class TBmpBitmapStore : public TBitmapStore {
 public:
  TBmpBitmapStore(std::unique_ptr<TMemoryStream> file, TBmpLayout layout)
      : TBitmapStore(layout.Width, layout.Height, layout.Format()), FFile(std::move(file)), FLayout(std::move(layout)) {}
  const char* ClassName() const override { return "TBmpBitmapStore"; }

 protected:
  std::unique_ptr<TBitmap> DecodeLevel(int level) override {
    if (level != 0 || !FFile) return nullptr;
    std::unique_ptr<TBitmap> bitmap = DecodeBmpPixels(FFile->Bytes(), FLayout);
    FFile.reset();  // decoded once: the cache keeps the picture
    return bitmap;
  }

 private:
  std::unique_ptr<TMemoryStream> FFile;
  TBmpLayout FLayout;
};

std::shared_ptr<TBitmapStore> OpenBmp(TStream& stream, int64_t start) {
  uint8_t header[kBmpFileHeaderSize];
  stream.ReadBuffer(header, kBmpFileHeaderSize);
  const std::optional<int64_t> fileSize = BmpFileSize(header);
  if (!fileSize || *fileSize < kBmpFileHeaderSize) return nullptr;
  const int64_t streamSize = stream.GetSize();
  if (streamSize >= 0 && streamSize - start < *fileSize) return nullptr;

  auto file = std::make_unique<TMemoryStream>();
  file->WriteBuffer(header, kBmpFileHeaderSize);
  const int64_t rest = *fileSize - kBmpFileHeaderSize;
  if (file->CopyFrom(stream, rest) != rest) return nullptr;
  std::optional<TBmpLayout> layout = ReadBmpLayout(file->Bytes());
  if (!layout) return nullptr;
  return std::make_shared<TBmpBitmapStore>(std::move(file), std::move(*layout));
}

}  // namespace

std::shared_ptr<TBitmapStore> LoadBmpPicture(TStream& stream, std::u16string_view) {
  const int64_t start = stream.GetPosition();
  try {
    if (std::shared_ptr<TBitmapStore> store = OpenBmp(stream, start)) return store;
  } catch (const EKivError&) {
    // a stream that ends or fails inside the file: not a picture
  } catch (const std::bad_alloc&) {
  }
  stream.SetPosition(start);
  return nullptr;
}

}  // namespace kiv
