#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "core/Template.h"
#include "core/OperationFailed.h"
#include "core/Utf.h"
#include "player/CaptionRules.h"
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
        {"1. Song - - Winamp", "Song"},  // the title's own " -" goes
        {"Winamp 2.91", "Winamp 2.91"},  // no " - Winamp": kept whole
        {"Song - ", "Song"},
        {"12. - Winamp", ""},
        {"", ""},
    };
    for (const auto& [caption, title] : cases)
        EXPECT_EQ(TitleFromWinamp2Caption(caption), title) << caption;
}

// Every reading of a scroll gives the track's title or fails, never another title: its
// steps, and each read that takes its length from one step and its text from the
// next (the rest NUL, or cut). A reading fails where the caption is as much a step of
// another title's scroll: Winamp 5's " *** X *** ", "*** X *** " and "** X *** " are
// Winamp 2's first turns of " *** X", "*** X" and "** X", and its cut read
// "X *** " + X[:3] a turn of X[:3] + X. Each row counts the readings that fail.
TEST(PlayerTitle, EveryReadingOfAScrollGivesTheTitleOrFails) {
    struct Row {
        std::string still, title;
        int failingWinamp2, failingWinamp5;
    };
    const std::vector<Row> rows = {
        {"ZZ Top - La Grange - Winamp", "ZZ Top - La Grange", 0, 6},
        {"Duran Duran - Rio - Winamp", "Duran Duran - Rio", 0, 6},
        {"Talk Talk - It's My Life - Winamp", "Talk Talk - It's My Life", 0, 6},
        {"The The - This Is the Day - Winamp", "The The - This Is the Day", 0, 6},
        {"LL Cool J - Mama Said Knock You Out - Winamp", "LL Cool J - Mama Said Knock You Out", 0,
         6},
        {"Yeah Yeah Yeahs - Maps - Winamp", "Yeah Yeah Yeahs - Maps", 0, 6},
        {"Happy Happy Joy Joy - Winamp", "Happy Happy Joy Joy", 0, 6},
        {"Sade - Sade - Winamp", "Sade - Sade", 0, 6},
        {"Mmm Mmm Mmm Mmm - Winamp", "Mmm Mmm Mmm Mmm", 0, 6},
        {"!!! - Heart of Hearts - Winamp", "!!! - Heart of Hearts", 0, 6},
        {"* Intro - Winamp", "* Intro", 0, 6},
        {"***Flawless*** - Winamp", "***Flawless***", 0, 6},
        {"12. ZZ Top - La Grange - Winamp", "ZZ Top - La Grange", 0, 6},
        {"5. ***Flawless*** - Winamp", "***Flawless***", 0, 6},
        {"3. 3. Intro - Winamp", "3. Intro", 2, 6},  // "3. Intro - Winamp *** 3. "
        {"7. Band *** Live - Winamp", "Band *** Live", 0, 8},
        {"7. Artist \U0001F3B5 Name - Song - Winamp", "Artist \U0001F3B5 Name - Song", 0, 6},
        {"3. Artist - Song - Winamp [Paused]", "Artist - Song", 0, 6},
        {"Artist - Song - Winamp [Paused]", "Artist - Song", 0, 6},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TitleFromWinamp2Caption(row.still), row.title);
        for (const auto form : {sim::ScrollForm::Winamp2, sim::ScrollForm::Winamp5}) {
            const auto steps = sim::ScrollingCaptions(text::Utf16FromUtf8(row.still), form);
            int failing = 0;
            for (std::size_t i = 0; i < steps.size(); ++i) {
                std::u16string read = steps[(i + 1) % steps.size()];
                read.resize(steps[i].size(), u'\0');
                for (const auto& caption : {steps[i], read}) {
                    const std::string shown = text::Utf8FromUtf16(caption);
                    try {
                        EXPECT_EQ(TitleFromWinamp2Caption(shown), row.title) << shown;
                    } catch (const OperationFailed&) {
                        ++failing;
                    }
                }
            }
            EXPECT_EQ(failing,
                      form == sim::ScrollForm::Winamp2 ? row.failingWinamp2 : row.failingWinamp5)
                << row.still;
        }
    }
}

// What the player's scroll cannot show reads as it stands: a caption longer than its
// buffer of 4096 UTF-16 units, and a turn of a still caption that would end in a
// state no "]" closes.
TEST(PlayerTitle, WhatTheScrollCannotShowReadsAsItStands) {
    for (const std::size_t length : {4096u, 4097u}) {
        const std::string title(length - 17, 'a');
        const std::string turn = "mp *** 1. " + title + " - Wina";
        EXPECT_TRUE(TitleFromWinamp2Caption(turn) == (length == 4096 ? title : turn)) << length;
    }
    EXPECT_EQ(TitleFromWinamp2Caption("1. A - Winamp [x *** 2. B - Winamp"), "A");
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
        {0, "0:00"},
        {5, "0:05"},
        {225, "3:45"},
        {600, "10:00"},
        {3599, "59:59"},
        {3600, "1:00:00"},
        {3725, "1:02:05"},
        {36000, "10:00:00"},
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
    EXPECT_EQ(desktop.Messages(), (Lines{"send 256 14 0 0", "gettext 256 17", "send 256 1024 0 105",
                                         "send 256 1024 1 105", "send 256 1024 1 126",
                                         "send 256 1024 0 125", "send 256 1024 0 124"}));
    desktop.ClearTrace();
    GetPlayedSeconds(desktop);
    EXPECT_EQ(desktop.trace,
              (Lines{"find Winamp v1.x = 256", "find Winamp v1.x = 256", "send 256 1024 0 105"}));
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
    for (const std::string caption :
         {". Song (1:00)", "x1. Song (1:00)", "99999999999. S (1:00)"}) {
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
