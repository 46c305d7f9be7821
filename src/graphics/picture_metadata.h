#pragma once
// The text a JPEG picture carries about itself: the EXIF comment, description and
// date-time of capture, and the IPTC datasets of the application record (record 2),
// each converted to UTF-16 by the character set its block declares.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kiv {

struct TPictureMetadata {
  std::u16string ExifComment;      // UserComment
  std::u16string ExifDescription;  // ImageDescription
  std::u16string ExifDateTime;     // DateTimeOriginal, else DateTime: "YYYY:MM:DD HH:MM:SS"
  // Record 2 dataset → its values in the order of the file (repeatable datasets
  // such as keywords or by-lines have several).
  std::map<int, std::vector<std::u16string>> Iptc;

  // The first value of a record 2 dataset; empty when the picture has none.
  std::u16string FirstIptc(int dataset) const;
};

// Pictures larger than this are not searched for metadata.
inline constexpr size_t kMaxMetadataPictureBytes = size_t(256) << 20;

// The metadata of the JPEG file given whole. None for bytes that are not a JPEG, or
// one damaged before its metadata ends, or larger than kMaxMetadataPictureBytes; a
// JPEG without metadata gives empty fields. Safe to call from any thread.
std::optional<TPictureMetadata> ReadPictureMetadata(std::span<const uint8_t> fileBytes);

}  // namespace kiv
