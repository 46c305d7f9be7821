#include "platform/font_library.h"

namespace kiv {

TFontLibrary& TFontLibrary::Get() {
  static TFontLibrary* library = new TFontLibrary;
  return *library;
}

TFontLibrary::TFontLibrary() {
  if (FT_Init_FreeType(&Library_) != 0) Library_ = nullptr;
}

}  // namespace kiv
