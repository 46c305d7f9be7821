// Opening a graphics container whose payload is a 4000 × 3000 32-bit BMP (48 MB once
// inflated) and decoding its level 0, as the slide loader does for a large picture.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "base/memory_stream.h"
#include "graphics/graphics_container_loader.h"

namespace kiv {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int64_t kPixelBytes = int64_t(kWidth) * kHeight * 4;

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// Smooth gradients with a little noise, so that it packs about as well as a photograph.
std::vector<uint8_t> BmpFile() {
  constexpr size_t kHeaders = 14 + 40;
  std::vector<uint8_t> file(kHeaders + size_t(kPixelBytes));
  file[0] = 'B';
  file[1] = 'M';
  PutLittleEndian(file, 2, uint32_t(file.size()), 4);
  PutLittleEndian(file, 10, kHeaders, 4);
  PutLittleEndian(file, 14, 40, 4);
  PutLittleEndian(file, 18, kWidth, 4);
  PutLittleEndian(file, 22, kHeight, 4);
  PutLittleEndian(file, 26, 1, 2);
  PutLittleEndian(file, 28, 32, 2);
  uint32_t seed = 1;
  uint8_t* pixel = file.data() + kHeaders;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x, pixel += 4) {
      seed = seed * 1103515245 + 12345;
      const int noise = int(seed >> 29);
      pixel[0] = uint8_t(x / 16 + noise);
      pixel[1] = uint8_t(y / 12 + noise);
      pixel[2] = uint8_t((x + y) / 28);
      pixel[3] = 255;
    }
  return file;
}

std::vector<uint8_t> Container() {
  const std::vector<uint8_t> bmp = BmpFile();
  std::vector<uint8_t> bytes = {'Z', 'Q', 'G', 'F', 4, 0};
  for (const std::string& text : {std::string("File"), std::string("Photo.bmp"), std::string("Width"),
                                  std::to_string(kWidth), std::string("Height"), std::to_string(kHeight),
                                  std::string("OriginalSize"), std::to_string(bmp.size())}) {
    bytes.push_back(uint8_t(text.size()));
    bytes.push_back(uint8_t(text.size() >> 8));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  const size_t header = bytes.size();
  bytes.resize(header + deflateBound(&z, uLong(bmp.size())));
  z.next_in = const_cast<Bytef*>(bmp.data());
  z.avail_in = uInt(bmp.size());
  z.next_out = bytes.data() + header;
  z.avail_out = uInt(bytes.size() - header);
  deflate(&z, Z_FINISH);
  bytes.resize(header + z.total_out);
  deflateEnd(&z);
  return bytes;
}

bool IsGreenPlaceholder(const TBitmap& picture) {
  const uint8_t* first = picture.Row(0);
  return first[0] == 0 && first[1] == 255 && first[2] == 0;
}

void BM_GraphicsContainerOpenAndDecode(benchmark::State& state) {
  TMemoryStream stream(Container());
  state.counters["packed MB"] = double(stream.GetSize()) / 1e6;
  for (auto _ : state) {
    stream.SetPosition(0);
    const std::shared_ptr<TBitmapStore> store = LoadGraphicsContainer(stream, u"Photo.zqgfx");
    const std::shared_ptr<const TBitmap> picture = store ? store->GetMipLevel(0) : nullptr;
    if (!picture || IsGreenPlaceholder(*picture)) {
      state.SkipWithError("no picture, or the green placeholder");
      break;
    }
    benchmark::DoNotOptimize(picture->Pixels().data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kPixelBytes);
}
BENCHMARK(BM_GraphicsContainerOpenAndDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiv
