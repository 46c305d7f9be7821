// Feeds arbitrary bytes to the JPEG loader and decodes every level of what it opens.
#include "graphics/jpeg_bitmap_store.h"
#include "picture_loader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kiv::FuzzPictureLoader(kiv::LoadJpegPicture, data, size);
  return 0;
}
