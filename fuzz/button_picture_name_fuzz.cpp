// Feeds arbitrary UTF-16 units (pairs of bytes, little-endian) to the button picture
// name parser. Whatever parses has a positive size and a known state, and prints as a
// name that parses back to the same request.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/button_picture_name.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string name;
  for (size_t i = 0; i + 1 < size; i += 2) name += char16_t(data[i] | data[i + 1] << 8);
  const std::optional<kiv::TButtonPictureRequest> request = kiv::ParseButtonPictureName(name);
  if (!request) return 0;
  if (request->Size.Width <= 0 || request->Size.Height <= 0 || uint8_t(request->State) > 2) std::abort();
  const std::optional<kiv::TButtonPictureRequest> again = kiv::ParseButtonPictureName(kiv::ButtonPictureName(*request));
  if (!again || !(*again == *request)) std::abort();
  return 0;
}
