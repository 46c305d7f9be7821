// Feeds arbitrary UTF-16 units (pairs of bytes, little-endian) to the text picture name
// parser. Whatever parses must print as a name that parses back to the same name.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/text_params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string name;
  for (size_t i = 0; i + 1 < size; i += 2) name += char16_t(data[i] | data[i + 1] << 8);
  const std::optional<kiv::TTextParams> params = kiv::ParseTextPictureName(name);
  if (!params) return 0;
  const std::u16string printed = kiv::TextPictureName(*params);
  const std::optional<kiv::TTextParams> again = kiv::ParseTextPictureName(printed);
  if (!again || kiv::TextPictureName(*again) != printed) std::abort();
  kiv::StoredVectorTextName(*params);
  return 0;
}
