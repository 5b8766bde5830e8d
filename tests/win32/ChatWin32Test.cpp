#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "SimAim.h"
#include "SimAol.h"
#include "chat/AimChat.h"
#include "chat/AolChat.h"
#include "core/PollCycle.h"
#include "core/OperationFailed.h"
#include "win32/Win32ForeignWindows.h"
#include "win32/Win32Services.h"
#include "support/Fakes.h"

namespace tobla {
namespace {

using Lines = std::vector<std::string>;

WindowHandle Handle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

TEST(AolChatWin32Test, LineReachesTheRoomAndTheHalfTypedTextComesBack) {
    for (const sim::SimAolOptions& options :
         {sim::SimAolOptions{.entryBoxes = 1},
          sim::SimAolOptions{.entryBoxes = 2, .decoysBeforeRoom = true}}) {
        SCOPED_TRACE(options.entryBoxes);
        sim::SimAolClient aol(options);
        Win32ForeignWindows windows;
        const WindowHandle area = windows.FindChild(Handle(aol.Frame()), 0, "MDIClient");
        EXPECT_EQ(windows.FindChild(area, 0, "AOL Child") == Handle(aol.Room()),
                  !options.decoysBeforeRoom);
        EXPECT_EQ(toolkit::FindChatRoom(windows), Handle(aol.Room()));

        aol.SetEntryText("abc");
        toolkit::SendChat(windows, "<font face=\"Arial\" color=#FF0000>hello room");

        EXPECT_TRUE(aol.WaitForLine("hello room", 2000));
        EXPECT_EQ(aol.Transcript(), Lines{"<font face=\"Arial\" color=#FF0000>hello room"});
        EXPECT_EQ(aol.EntryText(), "abc");
        EXPECT_EQ(aol.Messages().Lines(),
                  (Lines{"WM_GETTEXTLENGTH", "WM_GETTEXT", "WM_SETTEXT ",
                         "WM_SETTEXT <font face=\"Arial\" color=#FF0000>hello room", "WM_CHAR 0x20",
                         "WM_CHAR 0x0D", "WM_SETTEXT ", "WM_SETTEXT abc"}));
    }
    Win32ForeignWindows windows;
    EXPECT_EQ(toolkit::FindChatRoom(windows), 0u);  // gone with the client
}

// A client slower than the send's time limit (kept between threads of one process)
// still gets the user's half-typed line back.
TEST(AolChatWin32Test, HalfTypedTextComesBackWhenTheClientIsTooSlowMidSend) {
    sim::SimAolClient aol(
        {.stallAfter = "WM_CHAR 0x0D", .stallMs = Win32ForeignWindows::kAnswerTimeoutMs + 500});
    Win32ForeignWindows windows;
    aol.SetEntryText("abc");
    EXPECT_THROW(toolkit::SendChat(windows, "hello room"), OperationFailed);
    EXPECT_EQ(aol.EntryText(), "abc");
    EXPECT_EQ(aol.Messages().Lines().back(), "WM_SETTEXT abc");
}

TEST(AimChatWin32Test, LineAppearsAfterTheSendButtonIsPressed) {
    sim::SimAimClient aim;
    Win32ForeignWindows windows;
    ASSERT_EQ(AimFindRoom(windows), Handle(aim.Window()));

    AimRoomSend(windows, "hello aim");

    EXPECT_TRUE(aim.WaitForLine("hello aim", 2000));
    EXPECT_EQ(aim.Transcript(), Lines{"hello aim"});
    EXPECT_EQ(aim.EntryText(), "");
    EXPECT_EQ(aim.Messages().Lines(),
              (Lines{"WM_GETTEXTLENGTH", "WM_GETTEXT", "WM_SETTEXT hello aim",
                     "WM_LBUTTONDOWN btn5", "WM_LBUTTONUP btn5"}));
}

TEST(AimChatWin32Test, WithThreeButtonsTheFirstIsPressedAndNothingIsSent) {
    sim::SimAimClient aim({.buttons = 3});
    Win32ForeignWindows windows;
    AimRoomSend(windows, "not sent");
    EXPECT_EQ(aim.Messages().Lines(),
              (Lines{"WM_GETTEXTLENGTH", "WM_GETTEXT", "WM_SETTEXT not sent", "WM_LBUTTONDOWN btn1",
                     "WM_LBUTTONUP btn1"}));
    EXPECT_TRUE(aim.Transcript().empty());
    EXPECT_EQ(aim.EntryText(), "not sent");
}

TEST(ChatPollCycleWin32Test, NewTrackIsAnnouncedInBothClients) {
    sim::SimAolClient aol;
    sim::SimAimClient aim;
    Win32ForeignWindows windows;
    AolChatRoom aolRoom(windows);
    AimChatWindow aimWindow(windows);
    Win32Clock clock;
    test::FakePlayer player;
    test::Recorder out;
    test::FakeControls controls;
    out.color = "255";
    PollCycle cycle({player, aolRoom, aimWindow, out, out, controls, windows, clock},
                    "C:\\Tobla\\Tobla.ini");
    cycle.SetLastAnnouncedTitle("Old Song");

    player.title = "New Song";
    cycle.Tick();
    cycle.Tick();

    EXPECT_TRUE(aol.WaitForLine("New Song", 2000));
    EXPECT_TRUE(aim.WaitForLine("New Song", 2000));
    EXPECT_EQ(aol.Transcript(),
              Lines{"<font face=\"Arial\" color=#FF0000>New Song - ( 3:45 / 128 )"});
    EXPECT_EQ(aim.Transcript(), Lines{"New Song - ( 3:45 / 128 )"});
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "log New Song"), 1);
}

}  // namespace
}  // namespace tobla
