#include "model/button_skin.h"

#include <vector>

namespace kiv {

namespace {

constexpr std::array<std::u16string_view, 3> kStateSections{u"NormalState", u"HoverState", u"ClickState"};
constexpr std::array<std::u16string_view, 9> kPartKeys{u"LeftTop", u"Top",        u"RightTop", u"Right", u"RightBottom",
                                                       u"Bottom",  u"LeftBottom", u"Left",     u"Center"};
constexpr std::u16string_view kTextSection = u"TextParams";

int32_t NumberOrZero(const std::vector<std::u16string_view>& items, size_t at) {
  int32_t value = 0;
  return at < items.size() && ParseIniInteger(items[at], value) ? value : 0;
}

TSkinPiece ParsePiece(std::u16string_view value) {
  const std::vector<std::u16string_view> items = SplitIniList(value);
  return {std::u16string(items.front()), NumberOrZero(items, 1), NumberOrZero(items, 2), NumberOrZero(items, 3),
          NumberOrZero(items, 4)};
}

TButtonSkinState ReadState(const TIniSection* section) {
  TButtonSkinState state;
  if (!section) return state;
  for (size_t part = 0; part < kPartKeys.size(); ++part)
    state.Pieces[part] = ParsePiece(section->ReadString(kPartKeys[part], u""));
  return state;
}

}  // namespace

TRect TButtonSkinState::CaptionArea(int32_t width, int32_t height) const {
  return {Piece(TSkinPart::Left).X2, Piece(TSkinPart::Top).Y2, width - Piece(TSkinPart::Right).Width(),
          height - Piece(TSkinPart::Bottom).Height()};
}

std::u16string ButtonSkinFileName(std::u16string_view pathToButtons, std::u16string_view theme) {
  std::u16string name(pathToButtons);
  name += theme;
  name += u"\\btn.ini";
  return name;
}

TButtonSkin ReadButtonSkin(const TIniStorage& file, std::u16string_view theme) {
  TButtonSkin skin;
  skin.Theme = theme;
  for (size_t state = 0; state < kStateSections.size(); ++state)
    skin.States[state] = ReadState(file.FindSection(kStateSections[state]));
  if (const TIniSection* text = file.FindSection(kTextSection)) {
    skin.TextColor = text->ReadColor(u"Color", skin.TextColor);
    skin.BtnOffset = text->ReadFloat(u"BtnOffset", skin.BtnOffset);
    skin.BtnMinWidth = text->ReadFloat(u"BtnMinWidth", skin.BtnMinWidth);
    skin.Filtering = ReadFiltering(*text, u"Filtering");
  }
  return skin;
}

}  // namespace kiv
