// Conversions between the UTF-8 strings used everywhere inside and the two archive string
// forms: Windows-1252 bytes and UTF-16 little-endian units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// Windows-1252 bytes for a UTF-8 text, or nothing when a character has no 1252 code
// (or the text is not valid UTF-8).
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);

// Appends one code point (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// UTF-16 code units; invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace quorvel
