#include <gtest/gtest.h>

#include "core/Template.h"
#include "support/Fakes.h"

namespace tobla {
namespace {

using test::FakePlayer;

TEST(ExpandTemplate, DefaultTemplateRunsThePiecesTogether) {
    FakePlayer player;
    player.title = "Song";
    EXPECT_EQ(ExpandTemplate(DefaultTemplate, player), "Song - ( 3:45 / 128 )");
}

TEST(ExpandTemplate, ReplacementOrderExpandsLaterPlaceholdersInsideEarlierValues) {
    FakePlayer player;
    player.title = "A %b B %s";
    player.bitrate = "192 %s";
    // "%b" in the title receives the bitrate; "%s" in the title and in the bitrate stays.
    EXPECT_EQ(ExpandTemplate("[%s]", player), "[A 192 %s B %s]");
}

TEST(ExpandTemplate, EveryOccurrenceCaseSensitiveAndPlainTextKept) {
    FakePlayer player;
    player.title = "T";
    player.position = 12;
    EXPECT_EQ(ExpandTemplate("%s %s %S %L 100% %p/%c", player), "T T %S %L 100% 12/10");
    player.position = 0;
    EXPECT_EQ(ExpandTemplate("%p", player), "0");
    player.position = -4;
    EXPECT_EQ(ExpandTemplate("%p", player), "-4");
}

TEST(ExpandTemplate, AsksEveryFactEvenWithoutPlaceholders) {
    std::vector<std::string> calls;
    FakePlayer player;
    player.calls = &calls;
    EXPECT_EQ(ExpandTemplate("no placeholders", player), "no placeholders");
    EXPECT_EQ(calls, (std::vector<std::string>{"title", "length", "bitrate", "position", "count"}));
}

TEST(ExpandTemplate, TrimsOnlyAnExactTrailingPlayerInitial) {
    FakePlayer player;
    for (auto [title, expected] :
         std::vector<std::pair<std::string, std::string>>{{"Song - W", "Song"},
                                                          {" - W", ""},
                                                          {"Song - w", "Song - w"},
                                                          {"Song -W", "Song -W"},
                                                          {"Song - W ", "Song - W "}}) {
        player.title = title;
        EXPECT_EQ(ExpandTemplate("%s", player), expected) << title;
    }
}

TEST(ExpandTemplate, AFailingFactLeavesOnlyItsOwnPlaceholder) {
    FakePlayer player;
    player.title = "T";
    player.failLength = true;
    player.failPosition = true;
    EXPECT_EQ(ExpandTemplate("%s %l %b %p %c", player), "T %l 128 %p 10");
    player.failTitle = true;  // but a line without its title is no announcement
    EXPECT_THROW(ExpandTemplate("%s %l", player), OperationFailed);
}

TEST(FontTag, MarkupBytes) {
    EXPECT_EQ(WrapInFontTag("Arial", "#FF0000", "X"), "<font face=\"Arial\" color=#FF0000>X");
    EXPECT_EQ(WrapInFontTag("", "", "X"), "<font face=\"\" color=>X");
}

TEST(Colors, HexOfComponentsRedFirst) {
    EXPECT_EQ(winampApi::ColorToHex(255), "#FF0000");
    EXPECT_EQ(winampApi::ColorToHex(65280), "#00FF00");
    EXPECT_EQ(winampApi::ColorToHex(16711680), "#0000FF");
    EXPECT_EQ(winampApi::ColorToHex(0), "#000000");
    EXPECT_EQ(winampApi::ColorToHex(0x123456), "#563412");
    EXPECT_EQ(winampApi::ColorToHex(0x0A0B0C), "#0C0B0A");
    EXPECT_EQ(winampApi::ColorToHex(-1), "#FFFFFF");  // higher bits ignored
}

TEST(Colors, StoredSettingReadAsNumericPrefixRoundedHalfEven) {
    EXPECT_EQ(ColorTextFromSetting(""), "");
    EXPECT_EQ(ColorTextFromSetting("255"), "#FF0000");
    EXPECT_EQ(ColorTextFromSetting("abc"), "#000000");
    EXPECT_EQ(ColorTextFromSetting(" 2 55xyz"), "#FF0000");
    EXPECT_EQ(ColorTextFromSetting("254.5"), "#FE0000");
    EXPECT_EQ(ColorTextFromSetting("253.5"), "#FE0000");
    EXPECT_EQ(ColorTextFromSetting("2.55e2"), "#FF0000");
    EXPECT_EQ(ColorTextFromSetting("&HFF"), "#FF0000");
    EXPECT_EQ(ColorTextFromSetting("-1"), "#FFFFFF");
    EXPECT_THROW(ColorTextFromSetting("99999999999"), OperationFailed);
}

TEST(StripSpaces, RemovesOnlySpacesYieldingOncePerSpace) {
    int yields = 0;
    EXPECT_EQ(toolkit::StripSpaces("   ", [&] { ++yields; }), "");
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(toolkit::StripSpaces("\t"), "\t");
    EXPECT_EQ(toolkit::StripSpaces(" a b "), "ab");
    EXPECT_EQ(toolkit::ReplaceAll("aaaa", "aa", "a"), "a");  // searches from the start again
}

}  // namespace
}  // namespace tobla
