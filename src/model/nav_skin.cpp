#include "model/nav_skin.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text.h"
#include "graphics/bitmap.h"
#include "ini/ini_values.h"
#include "model/nav_action.h"

namespace kiv {
namespace {

constexpr std::u16string_view kActionPrefix = u"action-";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A list item as a number; what is not one counts as 0.
int32_t ItemNumber(std::u16string_view item) {
  int32_t value = 0;
  return ParseIniInteger(item, value) ? value : 0;
}

std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

// A piece's rectangle from "x,y,width,height", checked to hold pixels that a picture may have.
TRect PieceBounds(const std::vector<std::u16string>& items, std::u16string_view section, std::u16string_view key) {
  const int32_t x = ItemNumber(items[0]), y = ItemNumber(items[1]);
  const int32_t width = ItemNumber(items[2]), height = ItemNumber(items[3]);
  const std::string where = "\"" + Utf8(key) + "\" in [" + Utf8(section) + "]";
  if (width <= 0 || height <= 0)
    throw EKivError("The piece " + where + " has no pixels: " + std::to_string(width) + " x " + std::to_string(height));
  if (!AllowedPictureSize(width, height) || x < -kMaxPictureSide || y < -kMaxPictureSide || x > kMaxPictureSide ||
      y > kMaxPictureSide)
    throw EKivError("The piece " + where + " lies beyond what a picture may hold");
  return {x, y, x + width, y + height};
}

// A button's bounds key: the text of the key, or fallback when it is missing.
TRect ButtonBounds(const TIniStorage& ini, std::u16string_view section, std::u16string_view key,
                   std::u16string_view fallback) {
  const std::vector<std::u16string> items = SplitNavList(ini.ReadString(section, key, fallback));
  if (items.size() != 4)
    throw EKivError("Bounds should contains 4 values. For example: BtnTextureNormalBounds=0,0,20,20. But KIV found only " +
                    std::to_string(items.size()) + " values.");
  return PieceBounds(items, section, key);
}

int32_t ReadLength(const TIniStorage& ini, std::u16string_view section, std::u16string_view key) {
  return std::clamp(ini.ReadInteger(section, key, 0), 0, kMaxPictureSide);
}

constexpr std::array<std::u16string_view, 4> kStateNames{u"Normal", u"Hover", u"Pressed", u"Disabled"};

}  // namespace

std::vector<std::u16string> SplitNavList(std::u16string_view text) {
  std::vector<std::u16string> items;
  if (Trimmed(text).empty()) return items;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == u'"') quoted = !quoted;
    if (i == text.size() || (text[i] == u',' && !quoted)) {
      items.emplace_back(Trimmed(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  return items;
}

TNavSkin ReadNavSkin(const TIniStorage& ini) {
  TNavSkin skin;
  skin.RecommendedScale = ini.ReadFloat(u"Common", u"RecommendedScale", 8);
  skin.Cols = ini.ReadInteger(u"Common", u"ColsCount", 0);
  skin.Rows = ini.ReadInteger(u"Common", u"RowsCount", 0);
  if (skin.Cols < 1 || skin.Rows < 1 || skin.Cols > kMaxNavGridSide || skin.Rows > kMaxNavGridSide)
    throw EKivError("The grid of the navigation bar skin has " + std::to_string(skin.Cols) + " x " +
                    std::to_string(skin.Rows) + " cells; each side needs 1 to " + std::to_string(kMaxNavGridSide));
  skin.LeftOffset = ReadLength(ini, u"CellWithObjects", u"LeftOffset");
  skin.TopOffset = ReadLength(ini, u"CellWithObjects", u"TopOffset");
  skin.RightOffset = ReadLength(ini, u"CellWithObjects", u"RightOffset");
  skin.BottomOffset = ReadLength(ini, u"CellWithObjects", u"BottomOffset");
  const std::vector<std::u16string> cell = SplitNavList(ini.ReadString(u"CellWithObjects", u"Cell", u""));
  if (cell.size() != 2) throw EKivError("Incorrect number of parameters in field \"Cell\"");
  skin.ObjectCol = ItemNumber(cell[0]);
  skin.ObjectRow = ItemNumber(cell[1]);
  if (skin.ObjectCol < 1 || skin.ObjectRow < 1 || skin.ObjectCol > skin.Cols || skin.ObjectRow > skin.Rows)
    throw EKivError("The cell with the buttons (" + std::to_string(skin.ObjectCol) + "," + std::to_string(skin.ObjectRow) +
                    ") is outside the grid of " + std::to_string(skin.Cols) + " x " + std::to_string(skin.Rows) + " cells");

  for (int32_t j = 1; j <= skin.Rows; ++j) {
    for (int32_t i = 1; i <= skin.Cols; ++i) {
      const std::u16string section = u"Cell(" + IntToText(i) + u":" + IntToText(j) + u")";
      TNavCellSkin& c = skin.Cells.emplace_back();
      c.Repeat = SameTextIgnoringCase(Trimmed(ini.ReadString(section, u"TextureType", u"")), u"repeat");
      const std::vector<std::u16string> bounds = SplitNavList(ini.ReadString(section, u"Bounds", u""));
      if (bounds.size() != 4)
        throw EKivError("Incorrect number of parameters in field \"Bounds\" in [" + Utf8(section) + "]");
      c.Piece = {std::u16string(Trimmed(ini.ReadString(section, u"flnm_Texture", u""))), PieceBounds(bounds, section, u"Bounds")};
    }
  }

  // The prefix is read in any case: skins write "ACTION-" and "Action-" alike, and the
  // sections of the buttons are found without regard to case too.
  std::vector<std::u16string> names;
  ini.GetSectionNames(names);
  for (const std::u16string& name : names) {
    const std::u16string_view trimmed = Trimmed(name);
    if (trimmed.size() <= kActionPrefix.size() || !SameTextIgnoringCase(trimmed.substr(0, kActionPrefix.size()), kActionPrefix))
      continue;
    if (const TNavAction* action = FindNavAction(trimmed.substr(kActionPrefix.size())))
      skin.Actions.emplace_back(action->Name);
  }
  skin.Count = std::max(0, ini.ReadInteger(u"Objects", u"Count", 0));
  return skin;
}

std::vector<TNavButtonSkin> ReadNavButtons(const TIniStorage& ini, const TNavSkin& skin, std::span<const int32_t> chosen) {
  std::vector<TNavButtonSkin> buttons;
  for (const int32_t index : chosen) {
    if (int64_t(buttons.size()) >= skin.Count) break;
    if (index < 0 || size_t(index) >= skin.Actions.size()) continue;
    TNavButtonSkin& b = buttons.emplace_back();
    b.Name = skin.Actions[size_t(index)];
    const std::u16string object = u"Object" + IntToText(int64_t(buttons.size()));
    const std::u16string action = u"Action-" + b.Name;
    b.ShiftPressed = std::clamp(ini.ReadInteger(object, u"ShiftPressed", 0), 0, 1000);
    b.GrayNormal = ini.ReadBool(object, u"GrayNormal", false);
    b.GrayDisabled = ini.ReadBool(object, u"GrayDisabled", false);
    b.Space = ReadLength(ini, object, u"Space");
    b.ActionType = NavSkinActionType(Trimmed(ini.ReadString(action, u"ActionType", u"")));
    b.ActionText = ini.ReadString(action, u"Action", u"");

    const std::u16string imageBounds = ini.ReadString(action, u"BtnTextureNormalBounds", u"");
    const std::u16string imageFile = ini.ReadString(action, u"flnm_BtnTextureNormal", u"");
    const std::u16string backBounds = ini.ReadString(action, u"BgTextureNormalBounds", u"");
    const std::u16string backFile = ini.ReadString(action, u"flnm_BgTextureNormal", u"");
    const std::u16string playFile = ini.ReadString(action, u"flnm_BtnTextureNormalPlay", u"");
    b.HasPlay = !Trimmed(playFile).empty();
    for (size_t s = 0; s < kStateNames.size(); ++s) {
      const std::u16string state(kStateNames[s]);
      const TRect image = ButtonBounds(ini, action, u"BtnTexture" + state + u"Bounds", imageBounds);
      b.Image[s] = {std::u16string(Trimmed(ini.ReadString(action, u"flnm_BtnTexture" + state, imageFile))), image};
      b.PlayImage[s] = {std::u16string(Trimmed(ini.ReadString(action, u"flnm_BtnTexture" + state + u"Play", playFile))),
                        image};
      b.Background[s] = {std::u16string(Trimmed(ini.ReadString(action, u"flnm_BgTexture" + state, backFile))),
                         ButtonBounds(ini, action, u"BgTexture" + state + u"Bounds", backBounds)};
    }
  }
  if (buttons.empty()) throw EKivError("The navigation bar skin has no buttons");
  return buttons;
}

}  // namespace kiv
