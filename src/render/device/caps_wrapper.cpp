#include "render/device/caps_wrapper.h"

namespace kiv {

namespace {

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

int TCapsWrapper::ByName(std::string_view name) const {
  if (SameAsciiIgnoringCase(name, "PixelShaderVersion")) return int(PixelShaderVersion);
  if (SameAsciiIgnoringCase(name, "maxtexwidth")) return MaxTextureWidth;
  if (SameAsciiIgnoringCase(name, "maxtexheight")) return MaxTextureHeight;
  if (SameAsciiIgnoringCase(name, "MaxAnisotropy")) return MaxAnisotropy;
  if (SameAsciiIgnoringCase(name, "Raster")) return int(RasterCaps);
  if (SameAsciiIgnoringCase(name, "Vendor")) return int(VendorId);
  return 0;
}

}  // namespace kiv
