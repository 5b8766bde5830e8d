#include "core/Utf.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tobla::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kInvalid = 0x110000;  // past every code point

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one character at `at`, moving `at` past it. A byte that begins no valid
// sequence gives kInvalid, one byte at a time.
char32_t Decode(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || at + length > utf8.size()) {
        ++at;
        return lead < 0x80 ? lead : kInvalid;
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(utf8[at + i]);
        if (!IsContinuation(byte)) {
            ++at;
            return kInvalid;
        }
        code = (code << 6) | (byte & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kShortest[length] || code > 0x10FFFF) {
        ++at;
        return kInvalid;
    }
    at += length;
    return code;
}

// Writes the character's bytes at `out` and returns how many.
std::size_t Encode(char32_t code, char* out) {
    if (code < 0x80) {
        out[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<char>(0xC0 | (code >> 6));
        out[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (code >> 12));
        out[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (code >> 18));
    out[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

std::uint64_t EightBytes(const char* at) {
    std::uint64_t eight;
    std::memcpy(&eight, at, 8);
    return eight;
}

// How many of the eight bytes at `at` are ASCII before the first that is not.
std::size_t AsciiBytesOfEight(const char* at) {
    const std::uint64_t high = EightBytes(at) & kHighBits;
    if (high == 0) return 8;
    const int bit = std::endian::native == std::endian::little ? std::countr_zero(high)
                                                               : std::countl_zero(high);
    return static_cast<std::size_t>(bit) / 8;
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The units of the text, each byte of no valid sequence as U+FFFD; `exact` tells
// whether Utf8FromUtf16 gives the very bytes back: no such byte, and no pair of
// halves written apart, which it would write as one character.
std::u16string Decoded(std::string_view utf8, bool& exact) {
    exact = true;
    if (IsAscii(utf8)) return std::u16string(utf8.begin(), utf8.end());
    std::u16string out(utf8.size(), u'\0');  // never more units than bytes
    char16_t* const units = out.data();
    std::size_t length = 0;
    bool afterLoneHigh = false;
    for (std::size_t at = 0; at < utf8.size();) {
        // Most text is ASCII, a byte a unit: the run up to the next other byte is told
        // eight bytes at a time.
        const std::size_t ascii = at;
        for (std::size_t run = 8; run == 8 && at + 8 <= utf8.size(); at += run) {
            run = AsciiBytesOfEight(utf8.data() + at);
            for (std::size_t i = 0; i < run; ++i)
                units[length++] = static_cast<unsigned char>(utf8[at + i]);
        }
        if (at + 8 > utf8.size())
            for (; at < utf8.size() && static_cast<unsigned char>(utf8[at]) < 0x80; ++at)
                units[length++] = static_cast<unsigned char>(utf8[at]);
        if (at != ascii) afterLoneHigh = false;
        if (at == utf8.size()) break;
        char32_t code = Decode(utf8, at);
        if (code == kInvalid) exact = false, code = kReplacement;
        if (afterLoneHigh && IsLowSurrogate(code)) exact = false;
        afterLoneHigh = IsHighSurrogate(code);
        if (code < 0x10000) {
            units[length++] = static_cast<char16_t>(code);  // a lone half's three bytes included
        } else {
            units[length++] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units[length++] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    out.resize(length);
    return out;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
    bool exact = true;
    return Decoded(utf8, exact);
}

std::optional<std::u16string> ExactUtf16FromUtf8(std::string_view utf8) {
    bool exact = true;
    std::u16string units = Decoded(utf8, exact);
    if (!exact) return std::nullopt;
    return units;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
    std::string out(3 * utf16.size(), '\0');  // a unit gives at most three bytes, a pair four
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        if (unit < 0x80) {
            out[length++] = static_cast<char>(unit);
        } else if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            length +=
                Encode(0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00), &out[length]);
            ++i;
        } else {
            length += Encode(unit, &out[length]);
        }
    }
    out.resize(length);
    return out;
}

bool IsAscii(std::string_view text) {
    // Eight bytes a step, without a branch: captions are read several times a tick.
    std::uint64_t any = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) any |= EightBytes(text.data() + at);
    for (; at < text.size(); ++at) any |= static_cast<unsigned char>(text[at]);
    return (any & kHighBits) == 0;
}

bool IsWellFormedUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const char32_t code = Decode(bytes, at);
        if (code == kInvalid || (code >= 0xD800 && code <= 0xDFFF)) return false;
    }
    return true;
}

}  // namespace tobla::text
