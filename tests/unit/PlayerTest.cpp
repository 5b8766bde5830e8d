#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "core/Template.h"
#include "core/OperationFailed.h"
#include "core/Utf.h"
#include "player/Winamp.h"
#include "ScrollingCaption.h"
#include "support/SimDesktop.h"

namespace tobla {
namespace {

using namespace winampApi;
using Lines = std::vector<std::string>;
using Cases = std::vector<std::pair<std::string, std::string>>;

TEST(PlayerTitle, Winamp2CaptionsWithAnyPlaylistNumberOrNone) {
    const Cases cases = {
        {"1. Artist - Song - Winamp", "Artist - Song"},
        {"12. Artist - Song - Winamp", "Artist - Song"},
        {"123. Artist - Song - Winamp", "Artist - Song"},
        {"1234. Artist - Song - Winamp", "Artist - Song"},
        {"12345. Artist - Song - Winamp", "Artist - Song"},
        {"123456. Six Digits - Winamp", "Six Digits"},
        {"Artist - Song - Winamp", "Artist - Song"},
        {"Mr. Big - To Be With You - Winamp", "Mr. Big - To Be With You"},
        {"12. Song - Winamp [Paused]", "Song"},
        {"1. Song - - Winamp", "Song"},                   // the title's own " -" goes
        {"Winamp 2.91", "Winamp 2.91"},                   // no " - Winamp": kept whole
        {"Song - ", "Song"},
        {"12. - Winamp", ""},
        {"", ""},
    };
    for (const auto& [caption, title] : cases)
        EXPECT_EQ(TitleFromWinamp2Caption(caption), title) << caption;
}

// Every step of a scrolling caption gives the still caption's title, so a track is
// announced once however long it scrolls: stars, brackets and characters of two
// UTF-16 units in the title included. So does a step read as the player moves on:
// to a shorter step (the rest of the buffer NUL), or to the longer step where the
// scroll starts over (its text cut at the old length).
TEST(PlayerTitle, EveryStepOfAScrollingCaptionGivesTheStillTitle) {
    const Cases stills = {
        {"12. Artist - Song - Winamp", "Artist - Song"},
        {"Artist - Song - Winamp", "Artist - Song"},
        {"*NSYNC - Bye Bye Bye - Winamp", "*NSYNC - Bye Bye Bye"},
        {"3. Artist - Song - Winamp [Paused]", "Artist - Song"},
        {"9. Cee Lo Green - F*** You - Winamp", "Cee Lo Green - F*** You"},
        {"5. ***Flawless*** - Winamp", "***Flawless***"},
        {"7. Band *** Live - Winamp", "Band *** Live"},
        {"7. Artist \U0001F3B5 Name - Song - Winamp", "Artist \U0001F3B5 Name - Song"},
    };
    for (const auto& [still, title] : stills) {
        EXPECT_EQ(TitleFromWinamp2Caption(still), title);
        for (const auto form : {sim::ScrollForm::Winamp2, sim::ScrollForm::Winamp5}) {
            const auto steps = sim::ScrollingCaptions(text::Utf16FromUtf8(still), form);
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const std::u16string& step = steps[i];
                const std::u16string& next = steps[(i + 1) % steps.size()];
                std::u16string read = next;
                read.resize(step.size(), u'\0');
                for (const auto& caption : {step, read})
                    EXPECT_EQ(TitleFromWinamp2Caption(text::Utf8FromUtf16(caption)), title)
                        << text::Utf8FromUtf16(caption);
            }
        }
    }
    EXPECT_EQ(TitleFromWinamp2Caption("12. Artist - Song - Winamp *** 12."), "Artist - Song");
    EXPECT_EQ(TitleFromWinamp2Caption("Artist - Song - Winamp *** Art"), "Artist - Song");
}

TEST(PlayerTitle, Winamp3Captions) {
    const Cases cases = {
        {"3. Artist - Song (3:45) (playing)", "Artist - Song"},
        {"3. Artist - Song (3:45)", "Artist - Song"},
        {"3. Song (live) (Remix) (3:45) (playing)", "Song (live) (Remix)"},
        {"Title", "itl"},  // no ". " and no " (": first and last character go
        {"été ♫", "té "},  // characters of several bytes go whole
        {"X", ""},
        {"", ""},
    };
    for (const auto& [caption, title] : cases)
        EXPECT_EQ(TitleFromWinamp3Caption(caption), title) << caption;
}

TEST(PlayerLength, FormatsHoursMinutesAndSeconds) {
    const std::vector<std::pair<std::int32_t, std::string>> cases = {
        {0, "0:00"},     {5, "0:05"},       {225, "3:45"},       {600, "10:00"},
        {3599, "59:59"}, {3600, "1:00:00"}, {3725, "1:02:05"},   {36000, "10:00:00"},
        {-1, "n/a"},  // a stream has no length
        {std::numeric_limits<std::int32_t>::min(), "n/a"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatSongLength(seconds), text) << seconds;
}

class PlayerDesktopTest : public ::testing::Test {
protected:
    test::SimDesktop desktop;
    WindowHandle winamp2 = 0, studio = 0;
    std::int32_t playedMs = 0, songSeconds = 0, count = 0, index = 0, bitrate = 0;

    void AddWinamp2(const std::string& caption) {
        winamp2 = desktop.Add("Winamp v1.x", 0, caption);
        desktop.SetReply(winamp2, [this](std::uint32_t message, std::uint32_t w, std::int32_t l) {
            if (message != 0x400) return 0;
            if (l == 105) return w == 0 ? playedMs : w == 1 ? songSeconds : 0;
            if (l == 124 && w == 0) return count;
            if (l == 125 && w == 0) return index;
            if (l == 126 && w == 1) return bitrate;
            return 0;
        });
    }
    // A Winamp 3 playlist frame with `children` list panes; the pane the walk should
    // reach says "N items", the others carry captions that would betray a wrong walk.
    void AddWinamp3(const std::string& caption, int children, int listChild) {
        studio = desktop.Add("Studio", 0, caption);
        const WindowHandle frame = desktop.Add("BaseWindow_RootWnd", 0, "Playlist Editor");
        for (int i = 0; i < children; ++i)
            desktop.Add("BaseWindow_RootWnd", frame,
                        i == listChild ? "Playlist: 42 items" : "pane " + std::to_string(i));
    }
    std::string Expand(const std::string& templateText) {
        WinampPlayer player(desktop);
        return ExpandTemplate(templateText, player);
    }
};

TEST_F(PlayerDesktopTest, NoPlayerGivesEmptyAndZeroWithoutSendingAnything) {
    desktop.Add("Other", 0, "1. Song - Winamp");
    EXPECT_EQ(GetWinampWindow(desktop), 0u);
    EXPECT_EQ(GetSongTitle(desktop), "");
    EXPECT_EQ(GetPlayedSeconds(desktop), 0);
    EXPECT_EQ(GetSongSeconds(desktop), 0);
    EXPECT_EQ(GetSongLength(desktop), "");
    EXPECT_EQ(GetBitrate(desktop), "");
    EXPECT_EQ(GetListPosition(desktop), 0);
    EXPECT_EQ(GetListCount(desktop), "");
    EXPECT_TRUE(desktop.Messages().empty());
}

TEST_F(PlayerDesktopTest, Winamp2FactsAreTheRepliesToExactlyTheseRequests) {
    AddWinamp2("7. Song - Winamp");
    playedMs = 1500, songSeconds = 225, count = 0, index = 0, bitrate = -1;
    EXPECT_EQ(GetSongTitle(desktop), "Song");
    EXPECT_EQ(GetPlayedSeconds(desktop), 2);
    EXPECT_EQ(GetSongLength(desktop), "3:45");
    EXPECT_EQ(GetBitrate(desktop), "-1");
    EXPECT_EQ(GetListPosition(desktop), 1);
    EXPECT_EQ(GetListCount(desktop), "0");
    EXPECT_EQ(desktop.Messages(), (Lines{"send 256 14 0 0", "gettext 256 17",
                                         "send 256 1024 0 105", "send 256 1024 1 105",
                                         "send 256 1024 1 126", "send 256 1024 0 125",
                                         "send 256 1024 0 124"}));
    desktop.ClearTrace();
    GetPlayedSeconds(desktop);
    EXPECT_EQ(desktop.trace, (Lines{"find Winamp v1.x = 256", "find Winamp v1.x = 256",
                                    "send 256 1024 0 105"}));
}

TEST_F(PlayerDesktopTest, Winamp2PlayedSecondsRoundHalfToEvenAndPositionNeverOverflows) {
    AddWinamp2("1. Song - Winamp");
    for (const auto& [ms, seconds] : {std::pair{500, 0}, {501, 1}, {1500, 2}, {2500, 2}, {-1, 0}}) {
        playedMs = ms;
        EXPECT_EQ(GetPlayedSeconds(desktop), seconds) << ms;
    }
    index = std::numeric_limits<std::int32_t>::max();
    EXPECT_THROW(GetListPosition(desktop), OperationFailed);
    EXPECT_EQ(Expand("%p"), "%p");
}

TEST_F(PlayerDesktopTest, BothGenerationsPresentFollowTheWinamp2Rules) {
    AddWinamp3("9. Other (1:00) (playing)", 4, 3);
    AddWinamp2("1. Song - Winamp");
    bitrate = 128, count = 12, index = 4, songSeconds = 61;
    EXPECT_EQ(GetWinampWindow(desktop), winamp2);
    EXPECT_EQ(GetSongTitle(desktop), "Song");
    EXPECT_EQ(GetPlayedSeconds(desktop), 0);
    EXPECT_EQ(Expand("%s|%l|%b|%p|%c"), "Song|1:01|128|5|12");
    for (const auto& line : desktop.Messages())
        EXPECT_EQ(line.rfind("send " + std::to_string(studio), 0), std::string::npos) << line;
}

TEST_F(PlayerDesktopTest, Winamp3FactsComeFromCaptionsWithoutRequests) {
    AddWinamp3("12. Artist - Song (4:05) (playing)", 4, 3);
    EXPECT_EQ(GetWinampWindow(desktop), studio);
    EXPECT_EQ(GetSongTitle(desktop), "Artist - Song");
    EXPECT_EQ(GetPlayedSeconds(desktop), 10);
    EXPECT_EQ(Expand("%s|%l|%b|%p|%c"), "Artist - Song|4:05|n/a|12|42");
    for (const auto& line : desktop.Messages()) EXPECT_EQ(line.find(" 1024 "), std::string::npos);

    desktop.SetCaption(studio, "12. Artist - Song (4:05)");
    EXPECT_EQ(GetPlayedSeconds(desktop), 0);
    EXPECT_EQ(GetSongLength(desktop), "4:05");
    desktop.SetCaption(studio, "12. Artist - Song ()");
    EXPECT_EQ(GetSongLength(desktop), "");
}

TEST_F(PlayerDesktopTest, Winamp3ListCountWalksFourSiblingsUnderAPlaylistFrame) {
    AddWinamp3("1. Song (1:00)", 5, 3);
    desktop.ClearTrace();
    EXPECT_EQ(GetListCount(desktop), "42");
    EXPECT_EQ(desktop.trace,
              (Lines{"find Winamp v1.x = 0", "find Studio = 256", "find Winamp v1.x = 0",
                     "find Studio = 256", "find BaseWindow_RootWnd = 257", "send 257 14 0 0",
                     "gettext 257 16", "child 257 after 0 BaseWindow_RootWnd = 258",
                     "child 257 after 258 BaseWindow_RootWnd = 259",
                     "child 257 after 259 BaseWindow_RootWnd = 260",
                     "child 257 after 260 BaseWindow_RootWnd = 261", "send 261 14 0 0",
                     "gettext 261 19"}));
    desktop.SetCaption(257, "Media Library");
    EXPECT_EQ(GetListCount(desktop), "n/a");
}

TEST_F(PlayerDesktopTest, Winamp3UnreadableFactsLeaveTheirPlaceholders) {
    AddWinamp3("Song", 2, 0);
    EXPECT_THROW(GetListPosition(desktop), OperationFailed);
    EXPECT_THROW(GetSongLength(desktop), OperationFailed);
    EXPECT_EQ(Expand("%s|%l|%b|%p|%c"), "on|%l|n/a|%p|42");
    for (const std::string caption : {". Song (1:00)", "x1. Song (1:00)", "99999999999. S (1:00)"}) {
        desktop.SetCaption(studio, caption);
        EXPECT_THROW(GetListPosition(desktop), OperationFailed) << caption;
    }
    desktop.SetCaption(studio, "3. Song (");
    EXPECT_THROW(GetSongLength(desktop), OperationFailed);
}

TEST_F(PlayerDesktopTest, Winamp3CaptionOf32767CharactersFailsTheFactsNotTheTitle) {
    AddWinamp3(std::string(32766, 'x'), 0, -1);
    EXPECT_EQ(GetPlayedSeconds(desktop), 0);
    desktop.SetCaption(studio, "1. " + std::string(32764, 'x'));
    EXPECT_THROW(GetPlayedSeconds(desktop), OperationFailed);
    EXPECT_THROW(GetSongLength(desktop), OperationFailed);
    EXPECT_THROW(GetListPosition(desktop), OperationFailed);
    EXPECT_EQ(GetSongTitle(desktop).size(), 32763u);  // read in 32 bits
    EXPECT_EQ(GetBitrate(desktop), "n/a");
}

}  // namespace
}  // namespace tobla
