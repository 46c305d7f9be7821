#pragma once
// Text from show data is UTF-16 (positions count code units, lone surrogates survive);
// UTF-8 appears only where text meets the operating system.
#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// UTF-16 to UTF-8. Surrogate pairs become one four-byte sequence; a lone surrogate
// is written as the three-byte form of the unit itself, so every text can be written.
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 to UTF-16 for text from the operating system. Three-byte surrogate forms come
// back as the lone units they encode; bytes that are not UTF-8 become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// Whether text is UTF-8 throughout: true exactly when Utf8ToUtf16 replaces nothing.
bool IsUtf8(std::string_view text);

// Lower-casing per code unit, independent of any locale: a fixed table below 128,
// the simple case pairs of the common alphabets above.
char16_t LowerCaseUnit(char16_t unit);
std::u16string LowerCase(std::u16string_view text);
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

// Decimal text of an integer, as show data writes numbers.
std::u16string IntToText(int64_t value);

}  // namespace kiv
