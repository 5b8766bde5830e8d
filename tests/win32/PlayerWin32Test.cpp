#include <windows.h>

#include <gtest/gtest.h>

#include "SimWinamp.h"
#include "core/PollCycle.h"
#include "win32/Win32ForeignWindows.h"
#include "core/OperationFailed.h"
#include "player/Winamp.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"

namespace tobla {
namespace {

using namespace winampApi;
using Lines = std::vector<std::string>;

WindowHandle Handle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

TEST(PlayerWin32, FindsTheWinamp2PlayerAndFollowsItsTrack) {
    Win32ForeignWindows windows;
    EXPECT_EQ(GetWinampWindow(windows), 0u);
    sim::SimWinamp2 player;
    player.SetCaption("1. Artist - First - Winamp");
    EXPECT_EQ(GetWinampWindow(windows), Handle(player.Window()));
    EXPECT_EQ(GetSongTitle(windows), "Artist - First");
    player.SetCaption("12. Artist - Second - Winamp");
    EXPECT_EQ(GetSongTitle(windows), "Artist - Second");

    player.SetPlayedMs(2500);
    player.SetSongSeconds(3725);
    player.SetBitrate(192);
    player.SetListIndex(11);
    player.SetListCount(40);
    EXPECT_EQ(GetPlayedSeconds(windows), 2);
    EXPECT_EQ(GetSongLength(windows), "1:02:05");
    EXPECT_EQ(GetBitrate(windows), "192");
    EXPECT_EQ(GetListPosition(windows), 12);
    EXPECT_EQ(GetListCount(windows), "40");
    EXPECT_EQ(player.Requests().Lines(), (Lines{"105 0", "105 1", "126 1", "125 0", "124 0"}));
}

TEST(PlayerWin32, WithBothGenerationsRunningTheWinamp2RulesApply) {
    Win32ForeignWindows windows;
    sim::SimWinamp3 studio(4);
    studio.SetCaption("5. Studio Song (2:00) (playing)");
    EXPECT_EQ(GetSongTitle(windows), "Studio Song");
    EXPECT_EQ(GetPlayedSeconds(windows), 10);
    EXPECT_EQ(GetListPosition(windows), 5);

    sim::SimWinamp2 player;
    player.SetCaption("3. Classic Song - Winamp");
    player.SetListIndex(2);
    EXPECT_EQ(GetWinampWindow(windows), Handle(player.Window()));
    EXPECT_EQ(GetSongTitle(windows), "Classic Song");
    EXPECT_EQ(GetPlayedSeconds(windows), 0);
    EXPECT_EQ(GetListPosition(windows), 3);
    EXPECT_EQ(GetBitrate(windows), "0");
}

TEST(PlayerWin32, Winamp3ListCountFindsTheListPaneForEachNumberOfPanes) {
    Win32ForeignWindows windows;
    const std::pair<int, const char*> expected[] = {{0, "n/a"}, {1, "n/a"}, {2, "17"},
                                                    {3, "n/a"}, {4, "17"},  {5, "17"}};
    for (const auto& [panes, count] : expected) {
        sim::SimWinamp3 player(panes);
        player.SetCaption("1. Song (3:00)");
        player.SetItemCount(17);
        EXPECT_EQ(GetListCount(windows), count) << panes << " panes";
    }
    sim::SimWinamp3 player(4);
    player.SetPlaylistCaption("Media Library");
    EXPECT_EQ(GetListCount(windows), "n/a");
}

TEST(PlayerWin32, PollCycleAnnouncesATrackChangeOfTheSimulatedPlayer) {
    Win32ForeignWindows windows;
    WinampPlayer facts(windows);
    test::Recorder out;
    test::FakeControls controls;
    test::FakeYielder yielder;
    test::FakeClock clock;
    PollCycle cycle({facts, out.aol, out.aim, out, out, controls, yielder, clock},
                    "C:\\Tobla\\Tobla.ini");

    sim::SimWinamp2 player;
    player.SetCaption("1. Old Song - Winamp");
    player.SetPlayedMs(30000);
    player.SetSongSeconds(225);
    player.SetBitrate(128);
    cycle.SetLastAnnouncedTitle(GetSongTitle(windows));
    cycle.Tick();

    player.SetCaption("2. New Song - Winamp");
    player.SetPlayedMs(400);  // not yet a second in: not playing
    cycle.Tick();
    player.SetPlayedMs(1200);
    cycle.Tick();
    cycle.Tick();

    Lines actions;
    for (const auto& e : out.events)
        if (e.rfind("ini ", 0) != 0) actions.push_back(e);
    EXPECT_EQ(actions, (Lines{"aol <font face=\"Arial\" color=>New Song - ( 3:45 / 128 )",
                              "aim New Song - ( 3:45 / 128 )", "log New Song"}));
    EXPECT_EQ(controls.label4, "New Song");
}

// A player busy elsewhere, its thread taking no messages at all, fails each reading
// within the seam's limit instead of holding the poll. (Wine keeps this limit only
// between threads of one process: a send to another process waits for ever.)
TEST(PlayerWin32, AHungPlayerFailsItsReadingsInTime) {
    Win32ForeignWindows windows;
    sim::SimWinamp2 player;
    player.SetCaption("1. Song - Winamp");
    player.Hang();
    const DWORD start = GetTickCount();
    EXPECT_THROW(GetSongTitle(windows), OperationFailed);
    EXPECT_THROW(GetPlayedSeconds(windows), OperationFailed);
    EXPECT_LT(GetTickCount() - start, 2 * Win32ForeignWindows::kAnswerTimeoutMs + 1000);
    player.Release();
    EXPECT_EQ(GetSongTitle(windows), "Song");
}

}  // namespace
}  // namespace tobla
