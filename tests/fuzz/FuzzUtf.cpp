// The conversions between UTF-8 and UTF-16 on arbitrary input. Any UTF-16 units,
// lone halves of pairs included, come back whole through UTF-8; bytes that
// ExactUtf16FromUtf8 takes come back as the very bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tobla::text;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (const auto units = ExactUtf16FromUtf8(bytes); units && Utf8FromUtf16(*units) != bytes)
        std::abort();
    if (Utf16FromUtf8(bytes).size() > bytes.size()) std::abort();

    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    const std::string utf8 = Utf8FromUtf16(units);
    if (Utf16FromUtf8(utf8) != units || ExactUtf16FromUtf8(utf8) != units) std::abort();
    return 0;
}
