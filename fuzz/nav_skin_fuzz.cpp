// Reads arbitrary text as a navigation bar skin and, when it is accepted, lays the bar
// out, draws it and drives it with the mouse; then reads the same text as a panel
// description (with its panel keys from a "main" section) and drives the panel. A skin is
// either refused with a message or gives a bar of an allowed size whose buttons lie inside it.
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "base/memory_stream.h"
#include "ini/ini_file.h"
#include "model/nav_bar.h"
#include "model/nav_panel.h"

namespace {

using namespace kiv;

void Require(bool condition) {
  if (!condition) std::abort();
}

// Every texture is a small picture, so that the pieces cut from it reach beyond it.
std::shared_ptr<const TBitmap> Texture(std::u16string_view name) {
  if (name.empty()) return nullptr;
  auto texture = std::make_shared<TBitmap>(int(name.size() % 7) + 1, 5, TPixelFormat::Bgra32);
  for (int y = 0; y < texture->Height(); ++y)
    for (int x = 0; x < texture->Stride(); ++x) texture->Row(y)[x] = uint8_t(x * 37 + y);
  return texture;
}

// A show without files: the panel's pictures are all missing.
class TNoFiles : public TFileSource {
 public:
  std::unique_ptr<TStream> OpenStream(std::u16string_view) override { return nullptr; }
};

void DrivePanel(const TIniFile& ini) {
  const TIniSection* main = ini.FindSection(u"main");
  TNavPanelOptions options = main ? ReadNavPanelOptions(*main) : TNavPanelOptions{};
  TFileAccessor files(std::make_shared<TNoFiles>(), u"");
  TNavPanel panel(files, std::move(options), [] { return false; });
  if (!panel.Load(ini, u"skin/", {640, 480}, {800, 600})) {
    Require(!panel.Error().empty() && !panel.Ready());
    return;
  }
  const TRect r = panel.Rect();
  Require(r.Width() > 0 && r.Height() > 0);
  const int32_t x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
  panel.Mouse(kNavMouseMove, 0, x, y);
  Require(panel.HasMouse());
  panel.Mouse(kNavMouseDown, kNavLeftButton, x, y);
  panel.Mouse(kNavMouseUp, kNavLeftButton, r.Right + 5, y);
  panel.Tick();
  Require(!panel.Mouse(kNavMouseMove, 0, r.Right + 5, r.Bottom + 5).HasMouse);
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
  DrivePanel(ini);
  int clicks = 0;
  TNavBar bar({[&](int32_t) { ++clicks; }, [&] { return clicks % 2 == 0; }, nullptr, Texture});
  try {
    bar.LoadSkin(ini);
    std::vector<int32_t> all(bar.Actions().size() + 1);
    std::iota(all.begin(), all.end(), -1);  // one index beyond each end of the list
    bar.SetButtons(all);
  } catch (const EKivError&) {
    return 0;
  }
  const TPixelSize bar_size = bar.Size();
  Require(bar_size.Width > 0 && bar_size.Height > 0 && bar_size.Width <= kMaxNavBarSide && bar_size.Height <= kMaxNavBarSide);
  Require(bar.Picture() && bar.Picture()->Width() == bar_size.Width);
  for (size_t i = 0; i < bar.ButtonCount(); ++i) {
    const TRect r = bar.Button(i).Rect();
    Require(r.Left >= 0 && r.Top >= 0 && r.Right <= bar_size.Width && r.Bottom <= bar_size.Height);
    const int32_t x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    bar.MouseEvent(kNavMouseMove, 0, 0, x, y);
    bar.MouseEvent(kNavMouseDown, kNavLeftButton, 0, x, y);
    bar.MouseEvent(kNavMouseUp, kNavLeftButton, 0, x, y);
    bar.UpdatePlayState();
  }
  Require(clicks == int(bar.ButtonCount()));
  bar.MouseEvent(kNavMouseMove, 0, 0, -1, -1);
  return 0;
}
