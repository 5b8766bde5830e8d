#pragma once
#include <string>

#include "core/Utf.h"

// The program's UTF-8 text and Windows' UTF-16 (wchar_t is 16 bits on Windows).
namespace tobla {

inline std::wstring Wide(const std::string& utf8) {
    const std::u16string units = text::Utf16FromUtf8(utf8);
    return std::wstring(units.begin(), units.end());
}

inline std::string Utf8(const wchar_t* units, std::size_t count) {
    return text::Utf8FromUtf16(
        std::u16string_view(reinterpret_cast<const char16_t*>(units), count));
}

inline std::string Utf8(const std::wstring& units) { return Utf8(units.data(), units.size()); }

}  // namespace tobla
