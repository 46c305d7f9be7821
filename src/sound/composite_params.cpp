#include "sound/composite_params.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <map>
#include <set>
#include <utility>

#include "base/memory_stream.h"
#include "base/text.h"
#include "ini/ini_line_writer.h"
#include "ini/ini_parser.h"
#include "ini/ini_storage.h"
#include "ini/utf16_reader.h"

namespace kiv {

namespace {

// Times of a description are kept within about 11.5 days, so that an item's end and the
// sum of several descriptions' lengths stay inside 32 bits.
constexpr int32_t kLongestMs = 1'000'000'000;
constexpr int32_t kMostFades = 1'000'000;
// Every envelope is walked for every frame an item plays; more than this many on one
// item or on the main volume are not read.
constexpr size_t kMostEnvelopes = 64;

int32_t ClampMs(int64_t ms) { return int32_t(std::clamp<int64_t>(ms, 0, kLongestMs)); }

// Where the composite GUID next occurs in text from from on (ignoring case), or npos.
size_t FindGuid(std::u16string_view text, size_t from) {
  const size_t length = kCompositeGuid.size();
  for (size_t i = from; i + length <= text.size(); ++i)
    if (text[i] == kCompositeGuid[0] && SameTextIgnoringCase(text.substr(i, length), kCompositeGuid)) return i;
  return std::u16string_view::npos;
}

class TLineCollector final : public IIniLineWriter {
 public:
  void WriteLine(std::u16string_view text) override {
    Text += text;
    Text += u"\r\n";
  }
  void WriteEmptyLine() override { Text += u"\r\n"; }
  std::u16string Text;
};

std::u16string VolSection(std::u16string_view owner, size_t fade, size_t point) {
  return u"Vol_" + std::u16string(owner) + u"_" + IntToText(int64_t(fade)) + u"_" + IntToText(int64_t(point));
}

void WriteEnvelopes(TIniStorage& ini, std::u16string_view owner, const TVolumeParamsList& list) {
  size_t fade = 0;
  for (size_t j = 0; j < list.Count(); ++j) {
    const TVolumeParams& params = list[j];
    if (params.Generated || params.Points().empty()) continue;  // an empty envelope plays at unity
    for (size_t k = 0; k < params.Points().size(); ++k) {
      const std::u16string section = VolSection(owner, fade, k);
      ini.WriteInteger(section, u"0", params.Points()[k].Time);
      ini.WriteInteger(section, u"1", params.Points()[k].Volume);
    }
    ++fade;
  }
}

size_t WrittenEnvelopes(const TVolumeParamsList& list) {
  size_t count = 0;
  for (size_t j = 0; j < list.Count(); ++j)
    if (!list[j].Generated && !list[j].Points().empty()) ++count;
  return count;
}

// A decimal number without sign or leading zeros ("0" itself aside).
bool ParseIndex(std::u16string_view text, int64_t& value) {
  if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == u'0')) return false;
  value = 0;
  for (char16_t unit : text) {
    if (unit < u'0' || unit > u'9') return false;
    value = value * 10 + (unit - u'0');
  }
  return true;
}

// The envelopes present in one description: owner ("MainVolume" or an item index) to the
// fade indices whose first point has a section. Found by one pass over the section
// names, so a huge FadeCount with no sections behind it costs nothing.
struct TEnvelopeIndex {
  std::map<std::u16string, std::set<int64_t>> Fades;

  explicit TEnvelopeIndex(const TIniStorage& ini) {
    std::vector<std::u16string> names;
    ini.GetSectionNames(names);
    for (const std::u16string& name : names) {
      if (name.size() < 4 || !SameTextIgnoringCase(std::u16string_view(name).substr(0, 4), u"Vol_")) continue;
      const std::u16string_view rest = std::u16string_view(name).substr(4);
      const size_t second = rest.rfind(u'_');
      if (second == std::u16string_view::npos || second == 0) continue;
      const size_t first = rest.rfind(u'_', second - 1);
      if (first == std::u16string_view::npos) continue;
      int64_t fade = 0, point = 0;
      if (!ParseIndex(rest.substr(first + 1, second - first - 1), fade) || !ParseIndex(rest.substr(second + 1), point) ||
          point != 0)
        continue;
      Fades[LowerCase(rest.substr(0, first))].insert(fade);
    }
  }

  // Reads the envelopes of owner below fadeCount into list.
  void Read(const TIniStorage& ini, std::u16string_view owner, int32_t fadeCount, TVolumeParamsList& list) const {
    const auto found = Fades.find(LowerCase(owner));
    if (found == Fades.end()) return;
    for (int64_t fade : found->second) {
      if (fade >= fadeCount || list.Count() >= kMostEnvelopes) break;
      TVolumeParams* params = nullptr;
      for (size_t k = 0;; ++k) {
        const std::u16string section = VolSection(owner, size_t(fade), k);
        const int32_t volume = ini.ReadInteger(section, u"1", -1);
        if (volume < 0) break;
        if (!params) params = &list.Add();
        params->AddPoint(ini.ReadInteger(section, u"0", 0), volume);
      }
    }
  }
};

// Parses one description (the text after its GUID).
bool ParseDocument(std::u16string_view text, TIniStorage& ini) {
  std::vector<uint8_t> bytes(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = uint8_t(text[i] & 0xFF);
    bytes[2 * i + 1] = uint8_t(text[i] >> 8);
  }
  try {
    TMemoryStream stream(std::move(bytes));
    TIniParser parser(std::make_unique<TUnicodeReader>(stream), ini);
    parser.Parse();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

bool IsCompositeText(std::u16string_view name) {
  return name.size() >= kCompositeGuid.size() &&
         SameTextIgnoringCase(name.substr(0, kCompositeGuid.size()), kCompositeGuid);
}

TCompositeItem& TCompositeParams::AddItem(std::u16string_view fileName, int32_t timeLineMs) {
  TCompositeItem& item = Items.emplace_back();
  item.FileName = fileName;
  item.TimeLine = timeLineMs;
  return item;
}

TVolumeParamsList& TCompositeParams::MainVolumeList() {
  if (!MainVolume) MainVolume = std::make_unique<TVolumeParamsList>(false);
  return *MainVolume;
}

std::u16string TCompositeParams::ToText() const {
  TIniStorage ini;
  ini.WriteInteger(u"Main", u"Duration", Duration);
  for (size_t i = 0; i < Items.size(); ++i) {
    const TCompositeItem& item = Items[i];
    const std::u16string section = IntToText(int64_t(i));
    ini.WriteString(section, u"FileName", item.FileName);
    ini.WriteInteger(section, u"TimeLine", item.TimeLine);
    ini.WriteInteger(section, u"BeginTime", item.BeginTime);
    ini.WriteInteger(section, u"Duration", item.Duration);
    ini.WriteInteger(section, u"FadeCount", int32_t(WrittenEnvelopes(item.Envelopes)));
  }
  for (size_t i = 0; i < Items.size(); ++i) WriteEnvelopes(ini, IntToText(int64_t(i)), Items[i].Envelopes);
  if (MainVolume && WrittenEnvelopes(*MainVolume) > 0) {
    ini.WriteInteger(u"MainVolume", u"FadeCount", int32_t(WrittenEnvelopes(*MainVolume)));
    WriteEnvelopes(ini, u"MainVolume", *MainVolume);
  }
  TLineCollector lines;
  ini.SaveTo(lines);
  return std::u16string(kCompositeGuid) + u"\r\n" + lines.Text;
}

bool TCompositeParams::FromText(std::u16string_view text) {
  Items.clear();
  Duration = 0;
  MainVolume.reset();
  if (!IsCompositeText(text)) return false;

  // Each piece's items come after all earlier pieces: their times are raised by the
  // lengths before them.
  int64_t offset = 0;
  for (size_t start = 0; start != std::u16string_view::npos;) {
    const size_t bodyStart = start + kCompositeGuid.size();
    const size_t next = FindGuid(text, bodyStart);
    const std::u16string_view body =
        text.substr(bodyStart, next == std::u16string_view::npos ? std::u16string_view::npos : next - bodyStart);
    start = next;

    TIniStorage ini;
    if (!ParseDocument(body, ini)) continue;
    const TEnvelopeIndex envelopes(ini);
    for (int64_t i = 0;; ++i) {
      const std::u16string section = IntToText(i);
      const std::u16string fileName = ini.ReadString(section, u"FileName", u"");
      if (fileName.empty()) break;
      const int32_t fadeCount = ini.ReadInteger(section, u"FadeCount", 0);
      if (fadeCount < 0 || fadeCount > kMostFades) break;
      TCompositeItem& item = AddItem(fileName, ClampMs(offset + ini.ReadInteger(section, u"TimeLine", 0)));
      item.BeginTime = ClampMs(ini.ReadInteger(section, u"BeginTime", 0));
      item.Duration = ClampMs(ini.ReadInteger(section, u"Duration", 0));
      envelopes.Read(ini, section, fadeCount, item.Envelopes);
    }
    const int32_t mainFades = ini.ReadInteger(u"MainVolume", u"FadeCount", 0);
    if (mainFades > 0) {
      auto list = std::make_unique<TVolumeParamsList>(false);
      envelopes.Read(ini, u"MainVolume", std::min(mainFades, kMostFades), *list);
      if (list->Count() > 0) MainVolume = std::move(list);
    }
    offset = ClampMs(offset + ClampMs(ini.ReadInteger(u"Main", u"Duration", 0)));
  }
  Duration = int32_t(offset);
  return Duration > 0 && !Items.empty();
}

TMediaInfo TCompositeParams::MediaInfo() const {
  TMediaInfo media;
  media.Type = TMediaType::Composite;
  media.Format = MixFormat();
  media.Duration = uint32_t(std::max(Duration, 0));
  media.DataSize = uint32_t(std::min<int64_t>(MixBytes(Duration), std::numeric_limits<uint32_t>::max()));
  return media;
}

}  // namespace kiv
