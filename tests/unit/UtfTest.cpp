#include <gtest/gtest.h>

#include "core/Utf.h"

namespace tobla::text {
namespace {

// Bytes that are no UTF-8 become U+FFFD one byte at a time, never taking a valid
// neighbour with them, and are no text a window gave; a half of a pair keeps its
// own three bytes and pairs only with the other half.
TEST(Utf, OnlyValidSequencesDecodeAndHalvesPairOnlyWithTheirOtherHalf) {
    const std::u16string replaced = u"\uFFFD";
    const std::pair<std::string, std::u16string> invalid[] = {
        {"\xC0\x80", replaced + replaced},                                // an overlong NUL
        {"\xE0\x80\xAF", replaced + replaced + replaced},                 // an overlong "/"
        {"\xF0\x82\x82\xAC", replaced + replaced + replaced + replaced},  // an overlong euro
        {"\xF4\x90\x80\x80", replaced + replaced + replaced + replaced},  // past U+10FFFF
        {"\xC3"
         "A\xE2\x99"
         "B",
         replaced + u"A" + replaced + replaced + u"B"},
        {"\xED\xA0\xBD\xED\xB5\xB5", u"\xD83D\xDD75"},  // two halves written apart
    };
    for (const auto& [bytes, units] : invalid) {
        EXPECT_EQ(Utf16FromUtf8(bytes), units);
        EXPECT_FALSE(ExactUtf16FromUtf8(bytes).has_value());
    }
    EXPECT_EQ(Utf8FromUtf16(u"\xD83D"
                            u"A\xDD75"),
              "\xED\xA0\xBD"
              "A\xED\xB5\xB5");
    EXPECT_EQ(Utf8FromUtf16(u"\xD83D\xDD75"), "\xF0\x9F\x95\xB5");
    for (const std::string text : {"caf\xC3\xA9 \xE2\x99\xAB \xF0\x9F\x8E\xB5", "\xED\xA0\xBD"})
        EXPECT_EQ(Utf8FromUtf16(*ExactUtf16FromUtf8(text)), text);
}

// Every byte counts, wherever it stands: a text is read eight bytes at a time.
TEST(Utf, IsAsciiSeesEveryByteAbove0x7F) {
    EXPECT_TRUE(IsAscii(std::string(17, '\x7F')));
    for (std::size_t at = 0; at < 17; ++at) {
        std::string text(17, 'a');
        text[at] = '\x80';
        EXPECT_FALSE(IsAscii(text)) << at;
    }
}

}  // namespace
}  // namespace tobla::text
