#include "graphics/picture_metadata.h"

#include <exiv2/error.hpp>
#include <exiv2/exif.hpp>
#include <exiv2/iptc.hpp>
#include <exiv2/jpgimage.hpp>
#include <exiv2/value.hpp>

#include <exception>
#include <mutex>
#include <string_view>

#include "base/text.h"

namespace kiv {

namespace {

// Exiv2 keeps process-wide state (its log level, the XMP toolkit it starts on the
// first packet it meets) that is not safe to touch from two threads at once; reading
// metadata is rare enough to take one picture at a time.
std::mutex& ExivLock() {
  static std::mutex lock;
  return lock;
}

// Exiv2 reports every oddity of a damaged file on stderr unless told not to.
void MuteExivLog() {
  static std::once_flag once;
  std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.remove_suffix(1);
  return text;
}

std::u16string TrimEnd(std::u16string text) {
  while (!text.empty() && (text.back() == u'\0' || text.back() == u' ')) text.pop_back();
  return text;
}

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// Text declared as ASCII or not declared at all is UTF-8 more often than not in
// pictures written today; what does not decode as UTF-8 is taken as Latin-1.
std::u16string Utf8OrLatin1(std::string_view bytes) {
  if (IsUtf8(bytes)) return Utf8ToUtf16(bytes);
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out += char16_t(uint8_t(c));
  return out;
}

// UCS-2 in the given byte order, or in the order of a leading byte-order mark.
std::u16string Ucs2(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const uint8_t a = uint8_t(bytes[i]), b = uint8_t(bytes[i + 1]);
    const char16_t unit = bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    if (i == 0 && (unit == 0xFEFF || unit == 0xFFFE)) {
      bigEndian = (unit == 0xFEFF) == bigEndian;
      continue;
    }
    out += unit;
  }
  return out;
}

// A user comment opens with eight bytes naming its character set.
std::u16string UserComment(const Exiv2::CommentValue& comment) {
  const std::string_view raw = comment.value_;
  if (raw.size() < 8) return Utf8OrLatin1(TrimEnd(raw));
  const std::string_view charset = raw.substr(0, 8), body = raw.substr(8);
  if (charset == std::string_view("UNICODE\0", 8))
    return TrimEnd(Ucs2(body, comment.byteOrder_ == Exiv2::bigEndian));
  // JIS text is rare, and without conversion tables it is read as undeclared text.
  const bool known = charset == std::string_view("ASCII\0\0\0", 8) || charset == std::string_view("JIS\0\0\0\0\0", 8) ||
                     charset == std::string_view("\0\0\0\0\0\0\0\0", 8);
  return Utf8OrLatin1(TrimEnd(known ? body : raw));
}

// The bytes of a text-like EXIF tag up to its first NUL; empty for tags of other types
// (damaged files give numbers where text belongs).
std::string_view ExifText(const Exiv2::ExifData& exif, const char* key, std::string& storage) {
  const auto found = exif.findKey(Exiv2::ExifKey(key));
  if (found == exif.end()) return {};
  const Exiv2::TypeId type = found->typeId();
  if (type != Exiv2::asciiString && type != Exiv2::undefined && type != Exiv2::unsignedByte) return {};
  storage.assign(size_t(found->size()), '\0');
  found->copy(reinterpret_cast<Exiv2::byte*>(storage.data()), Exiv2::bigEndian);
  return TrimEnd(UpToNul(storage));
}

void ReadExif(const Exiv2::ExifData& exif, TPictureMetadata& metadata) {
  const auto comment = exif.findKey(Exiv2::ExifKey("Exif.Photo.UserComment"));
  if (comment != exif.end())
    if (const auto* value = dynamic_cast<const Exiv2::CommentValue*>(&comment->value()))
      metadata.ExifComment = UserComment(*value);
  std::string storage;
  metadata.ExifDescription = Utf8OrLatin1(ExifText(exif, "Exif.Image.ImageDescription", storage));
  std::string_view dateTime = ExifText(exif, "Exif.Photo.DateTimeOriginal", storage);
  if (dateTime.empty()) dateTime = ExifText(exif, "Exif.Image.DateTime", storage);
  metadata.ExifDateTime = Utf8OrLatin1(dateTime);
}

// Record 1 dataset 90 names the character set of the records after it by its ISO 2022
// escape; only UTF-8 ("ESC % G", or one of its "ESC % / G…I" levels) is told apart.
bool DeclaresUtf8(const Exiv2::IptcData& iptc) {
  for (const Exiv2::Iptcdatum& datum : iptc) {
    if (datum.record() != 1 || datum.tag() != 90) continue;
    const std::string escape = datum.toString();
    return escape == "\x1B%G" || escape == "\x1B%/G" || escape == "\x1B%/H" || escape == "\x1B%/I";
  }
  return false;
}

void ReadIptc(const Exiv2::IptcData& iptc, TPictureMetadata& metadata) {
  const bool utf8 = DeclaresUtf8(iptc);
  for (const Exiv2::Iptcdatum& datum : iptc) {
    if (datum.record() != 2) continue;
    const std::string bytes = datum.toString();
    const std::string_view text = UpToNul(bytes);
    metadata.Iptc[datum.tag()].push_back(utf8 ? Utf8ToUtf16(text) : Utf8OrLatin1(text));
  }
}

}  // namespace

std::u16string TPictureMetadata::FirstIptc(int dataset) const {
  const auto found = Iptc.find(dataset);
  return found == Iptc.end() || found->second.empty() ? std::u16string() : found->second.front();
}

std::optional<TPictureMetadata> ReadPictureMetadata(std::span<const uint8_t> fileBytes) {
  if (fileBytes.empty() || fileBytes.size() > kMaxMetadataPictureBytes) return std::nullopt;
  const std::lock_guard<std::mutex> locked(ExivLock());
  MuteExivLog();
  try {
    // Only the JPEG reader sees the bytes: no other format of Exiv2's is probed.
    Exiv2::BasicIo::AutoPtr io(new Exiv2::MemIo(fileBytes.data(), long(fileBytes.size())));
    Exiv2::JpegImage image(io, false);
    image.readMetadata();
    TPictureMetadata metadata;
    ReadExif(image.exifData(), metadata);
    ReadIptc(image.iptcData(), metadata);
    return metadata;
  } catch (const std::exception&) {
    return std::nullopt;  // Exiv2's errors, and allocations a damaged file asks for
  }
}

}  // namespace kiv
