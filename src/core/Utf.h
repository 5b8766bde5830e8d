#pragma once
#include <optional>
#include <string>
#include <string_view>

// Text is UTF-8 inside the program; Windows speaks UTF-16. Other programs' windows
// may hold half a surrogate pair (a caption that a player turns by UTF-16 units cuts
// a character in two): such a half is kept as its own three-byte form (WTF-8), so
// that a text read, turned back to UTF-16 and written again is the same units.
namespace tobla::text {

std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);
// The units of a text that Utf8FromUtf16 writes exactly; nothing for other bytes
// (no UTF-8, or two halves of a pair written apart), which no window gave.
std::optional<std::u16string> ExactUtf16FromUtf8(std::string_view utf8);

// True when the text holds only ASCII characters, which every code page writes alike.
bool IsAscii(std::string_view text);

// True when the bytes are well-formed UTF-8: no stray byte, no overlong form, no half
// of a surrogate pair, nothing past U+10FFFF.
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace tobla::text
