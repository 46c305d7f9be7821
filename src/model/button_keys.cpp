#include "model/button_keys.h"

namespace kiv {

TButtonKeys ReadButtonKeys(const TIniIdentList& section, double currentMinWidth) {
  TButtonKeys keys;
  keys.Theme = section.ReadString(u"Theme", u"");
  keys.BtnOpacity = section.ReadFloat(u"BtnOpacity", keys.BtnOpacity);
  keys.TxtOpacity = section.ReadFloat(u"TxtOpacity", keys.TxtOpacity);
  keys.Hue = section.ReadInteger(u"Hue", keys.Hue);
  keys.Saturation = section.ReadInteger(u"Saturation", keys.Saturation);
  keys.Lightness = section.ReadInteger(u"Lightness", keys.Lightness);
  keys.Image = ReadImageKeys(section, u"button");
  keys.BtnMinWidth = section.ReadFloat(u"BtnMinWidth", currentMinWidth);
  keys.BtnOffsetX = section.ReadFloat(u"BtnOffsetX", keys.BtnOffsetX);
  if (section.FindIdent(u"Text")) {
    TTextKeys caption = ReadTextKeys(section, u"text");
    if (!caption.Empty) keys.Caption = std::move(caption);
  }
  return keys;
}

}  // namespace kiv
