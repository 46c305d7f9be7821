#pragma once
// The layout of a show appended to a program: the program image, the stored entries,
// the raw-deflated index (a UTF-8 INI document with a mark), then the trailer:
// the index position (signed 64-bit, little-endian) and ".dne"; the long form adds the
// end position the block had when written, so a moved block reveals its shift.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <string_view>

namespace kiv {

inline constexpr char kTrailerMark[4] = {'.', 'd', 'n', 'e'};
inline constexpr int64_t kShortTrailerSize = 12;  // index position + mark
inline constexpr int64_t kLongTrailerSize = 20;   // ... + recorded end

// The key of every enciphered entry.
inline constexpr char ContainerKey[] = "5E0C7A93D1B24F68A0E3C5917B2D846F";

enum class TPackMode : int { Stored = 0, Deflated = 1, Enciphered = 2 };

// Index keys and special sections.
inline constexpr char16_t kEntryPosition[] = u"_ps";
inline constexpr char16_t kEntrySize[] = u"_sz";
inline constexpr char16_t kEntryPackMode[] = u"_pm";
inline constexpr char16_t kProtectionSection[] = u"$protection$";
inline constexpr char16_t kVersionKey[] = u"kivversion";
inline constexpr char16_t kStrucPosKey[] = u"strucpos";
inline constexpr char16_t kAllowModifyKey[] = u"allowmodify";
inline constexpr char16_t kProjectEntry[] = u"Project.kiv";
inline constexpr char16_t kExeGuidEntry[] = u"ExeGUID";

// The "ExeGUID" entry, the identity of a built show: a 32-bit count of UTF-16 units,
// then the units (little-endian).
std::vector<uint8_t> ExeGuidBytes(std::u16string_view guid);
// The identity from an "ExeGUID" entry in that form or, as older packers wrote it, as
// bare UTF-8; at most kMaxExeGuidUnits units are taken, whatever a damaged count says.
inline constexpr size_t kMaxExeGuidUnits = 256;
std::u16string ReadExeGuid(std::span<const uint8_t> bytes);

// Section names cannot hold brackets: "[" is written "<" and "]" ">".
std::u16string EntrySectionName(std::u16string_view entryName);
// The inverse, for listing entries.
std::u16string EntryNameOfSection(std::u16string_view sectionName);

// A decimal 64-bit integer with an optional sign and nothing else; none otherwise.
std::optional<int64_t> ParseInt64(std::u16string_view text);

void PutInt64(uint8_t* bytes, int64_t value);
int64_t GetInt64(const uint8_t* bytes);

}  // namespace kiv
