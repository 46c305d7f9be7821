// Reads arbitrary text as a button skin ("btn.ini"), then composes each of its looks at
// its natural size and at a fixed one from small pictures. Parts cut outside their
// pictures, upside down or of absurd sizes stay clear; nothing reads or writes outside
// a picture.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/errors.h"
#include "base/memory_stream.h"
#include "ini/ini_file.h"
#include "model/button_picture.h"
#include "model/button_skin.h"

namespace {

using namespace kiv;

std::shared_ptr<const TBitmap> Picture(std::u16string_view name) {
  if (name.empty()) return nullptr;
  auto picture = std::make_shared<TBitmap>(int(name.size() % 9) + 1, int(name.size() % 5) + 1, TPixelFormat::Bgra32);
  for (int y = 0; y < picture->Height(); ++y)
    for (int x = 0; x < picture->Stride(); ++x) picture->Row(y)[x] = uint8_t(x * 31 + y);
  return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  TIniFile ini;
  try {
    if (!ini.LoadFromStream(stream)) return 0;
  } catch (const EKivError&) {
    return 0;
  }
  const TButtonSkin skin = ReadButtonSkin(ini, u"Fuzz");
  for (const TButtonSkinState& state : skin.States) {
    const TPixelSize natural = NaturalSize(state);
    if (natural.Width < 0 || natural.Height < 0 || natural.Width > kMaxPictureSide || natural.Height > kMaxPictureSide)
      std::abort();
    // The natural size only when it is small: a skin may ask for 20000 × 20000.
    for (const TPixelSize size : {TPixelSize{37, 19}, natural}) {
      if (size.Width <= 0 || size.Height <= 0 || int64_t(size.Width) * size.Height > 1 << 20) continue;
      const std::unique_ptr<TBitmap> canvas = ComposeButtonPicture(state, size, Picture);
      if (!canvas || canvas->Width() != size.Width || canvas->Height() != size.Height) std::abort();
    }
    state.CaptionArea(37, 19);
  }
  return 0;
}
