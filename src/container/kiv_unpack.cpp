#include "container/kiv_unpack.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <cstring>

#include "base/memory_stream.h"
#include "base/picture_budget.h"
#include "base/text.h"
#include "container/crypt_stream.h"
#include "container/inflate_stream.h"

namespace kiv {

namespace {

// Bounds on what inflating may produce, so a damaged or hostile container cannot
// make the player allocate without limit.
constexpr int64_t kMaxIndexSize = int64_t(256) << 20;
constexpr int64_t kMaxEntrySize = int64_t(2) << 30;
// Room for headers, palettes and metadata beside a picture's pixels.
constexpr int64_t kPictureHeadersRoom = int64_t(1) << 20;

std::u16string ExtensionOf(std::u16string_view name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos || name.find_first_of(u"\\/", dot) != std::u16string_view::npos) return {};
  return LowerCase(name.substr(dot));
}

bool OneOf(const std::u16string& extension, std::initializer_list<std::u16string_view> extensions) {
  return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

// Inflates a whole raw-deflate window into memory; none when it is corrupt or too large.
std::unique_ptr<TMemoryStream> InflateAll(TStream& packed, int64_t limit) {
  auto memory = std::make_unique<TMemoryStream>();
  TInflateStream inflater(packed, -1);
  std::vector<uint8_t> piece(65536);
  try {
    for (int64_t n; (n = inflater.Read(piece.data(), int64_t(piece.size()))) > 0;) {
      if (memory->GetSize() + n > limit) return nullptr;
      memory->WriteBuffer(piece.data(), n);
    }
  } catch (const EStreamError&) {
    return nullptr;
  }
  memory->SetPosition(0);
  return memory;
}

}  // namespace

int64_t EntryInflateLimit(std::u16string_view name) {
  const std::u16string extension = ExtensionOf(name);
  const int64_t budget = PictureMemoryBudget();
  // No picture file is larger than its pixels uncompressed.
  if (OneOf(extension, {u".bmp", u".dib", u".jpg", u".jpeg", u".jpe", u".jfif", u".png", u".gif", u".zqgfx"}))
    return std::min(kMaxEntrySize, budget + kPictureHeadersRoom);
  if (OneOf(extension, {u".ini", u".kiv", u".txt", u".lst", u".map", u".xml", u".htm", u".html"}))
    return kMaxIndexSize;
  return std::min(kMaxEntrySize, budget);
}

namespace {

bool IsMark(const uint8_t* bytes) { return std::memcmp(bytes, kTrailerMark, 4) == 0; }

}  // namespace

TKivUnpack::TKivUnpack(std::string path) : FFileName(std::move(path)) {
  try {
    FStream = std::make_unique<TFileStream>(FFileName, TFileMode::OpenRead);
  } catch (const EFOpenError&) {
    FError = u"Slideshow File not Found";
    return;
  }
  try {
    Open();
  } catch (const EKivError&) {
    FError = u"Slide-show File Damaged";
    FStream.reset();
  }
}

void TKivUnpack::Open() {
  FFileSize = FStream->GetSize();
  uint8_t tail[kLongTrailerSize] = {};
  const int64_t tailSize = std::min(FFileSize, kLongTrailerSize);
  FStream->SetPosition(FFileSize - tailSize);
  FStream->ReadBuffer(tail + (kLongTrailerSize - tailSize), tailSize);

  if (tailSize >= kShortTrailerSize && IsMark(tail + kLongTrailerSize - 4)) {
    FIndexEnd = FFileSize;
  } else if (tailSize == kLongTrailerSize && IsMark(tail + 8)) {
    FIndexEnd = FFileSize - 8;
    if (__builtin_sub_overflow(FIndexEnd, GetInt64(tail + 12), &FShift)) FShift = INT64_MIN;
  } else {
    FStream.reset();  // no container here; the caller says what it tried
    return;
  }
  const uint8_t* position = tail + kLongTrailerSize - (FFileSize - FIndexEnd) - kShortTrailerSize;
  // Values from the file may be anything: a sum that overflows is a position that fails.
  int64_t indexPosition;
  if (__builtin_add_overflow(GetInt64(position), FShift, &indexPosition)) indexPosition = -1;
  if (!ReadIndex(indexPosition, FIndexEnd - kShortTrailerSize) || !CheckPosition(indexPosition)) {
    FStream.reset();
    return;
  }
  FVersion = FIndex.ReadString(kProtectionSection, kVersionKey, u"");
}

bool TKivUnpack::ReadIndex(int64_t indexPosition, int64_t indexEnd) {
  if (indexPosition < 0 || indexPosition > indexEnd) {
    FError = u"Slide-show File Damaged";
    return false;
  }
  TPartialStream packed(FStream.get(), false, indexEnd - indexPosition, indexPosition);
  std::unique_ptr<TMemoryStream> text = InflateAll(packed, kMaxIndexSize);
  if (!text || !FIndex.LoadFromStream(*text)) {
    FError = u"Slide-show File Damaged";
    return false;
  }
  return true;
}

bool TKivUnpack::CheckPosition(int64_t indexPosition) {
  const TIniSection* protection = FIndex.FindSection(kProtectionSection);
  if (!protection || !protection->FindIdent(kStrucPosKey)) return true;
  const std::u16string recorded = protection->ReadString(kStrucPosKey, u"");
  if (recorded == IntToText(indexPosition)) return true;
  if (!protection->ReadBool(kAllowModifyKey, false)) {
    FError = u"Slide-show File Modified";
    return false;
  }
  std::optional<int64_t> written = ParseInt64(recorded);
  if (!written || *written < 0 || *written > indexPosition) {
    FError = u"Slide-show File Damaged";
    return false;
  }
  FRelocation = indexPosition - *written;
  return true;
}

std::vector<std::u16string> TKivUnpack::EntryNames() const {
  std::vector<std::u16string> sections, names;
  FIndex.GetSectionNames(sections);
  for (const std::u16string& section : sections)
    if (section != kProtectionSection) names.push_back(EntryNameOfSection(section));
  return names;
}

const TIniSection* TKivUnpack::EntrySection(std::u16string_view name) const {
  if (const TIniSection* section = FIndex.FindSection(EntrySectionName(name))) return section;
  // Show data writes folders with "\", files added by hand may use "/": either finds
  // the entry.
  std::u16string swapped(name);
  for (char16_t& unit : swapped)
    if (unit == u'/') unit = u'\\';
    else if (unit == u'\\') unit = u'/';
  return swapped == name ? nullptr : FIndex.FindSection(EntrySectionName(swapped));
}

bool TKivUnpack::HasExactEntry(std::u16string_view name) const {
  const std::u16string sectionName = EntrySectionName(name);
  const TIniSection* section = FIndex.FindSection(sectionName);
  return section && section->GetName() == sectionName;
}

std::optional<TKivUnpack::TEntry> TKivUnpack::FindEntry(std::u16string_view name) const {
  const TIniSection* section = EntrySection(name);
  if (!section) return std::nullopt;
  std::optional<int64_t> position = ParseInt64(section->ReadString(kEntryPosition, u""));
  std::optional<int64_t> size = ParseInt64(section->ReadString(kEntrySize, u""));
  if (!position || !size) return std::nullopt;
  TEntry entry{0, *size, TPackMode(section->ReadInteger(kEntryPackMode, 0))};
  if (__builtin_add_overflow(*position, FRelocation, &entry.Position)) return std::nullopt;
  // Checked before anything is opened or allocated for it.
  if (entry.Position < 0 || entry.Size < 0 || entry.Position > FIndexEnd || entry.Size > FIndexEnd - entry.Position)
    return std::nullopt;
  return entry;
}

std::unique_ptr<TStream> TKivUnpack::OpenEntry(std::u16string_view name) const {
  if (!Usable()) return nullptr;
  std::optional<TEntry> entry = FindEntry(name);
  if (!entry) return nullptr;
  try {
    auto window = std::make_unique<TPartialStream>(new TFileStream(FFileName, TFileMode::OpenRead), true,
                                                   entry->Size, entry->Position);
    if (entry->Mode == TPackMode::Deflated) {
      std::unique_ptr<TMemoryStream> plain = InflateAll(*window, EntryInflateLimit(name));
      if (!plain) return nullptr;
      const int64_t size = plain->GetSize();
      window = std::make_unique<TPartialStream>(plain.release(), true, size, 0);
    }
    if (entry->Mode == TPackMode::Enciphered)
      return std::make_unique<TCryptStream>(window.release(), ContainerKey, true);
    return window;
  } catch (const EKivError&) {
    return nullptr;
  }
}

}  // namespace kiv
