#include <gtest/gtest.h>

#include <algorithm>

#include "chat/AimChat.h"
#include "chat/AolChat.h"
#include "core/PollCycle.h"
#include "core/OperationFailed.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"
#include "support/SimDesktop.h"

namespace tobla {
namespace {

using Lines = std::vector<std::string>;
using test::SimDesktop;

std::string H(WindowHandle h) { return std::to_string(h); }

int Count(const Lines& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// ---------------------------------------------------------------- AOL chat room

class AolChatTest : public ::testing::Test {
protected:
    const char* kRoomClasses[5] = {"_AOL_Icon", "_AOL_Static", "_AOL_Listbox", "_AOL_Combobox",
                                   "RICHCNTL"};

    SimDesktop desktop;
    WindowHandle frame = desktop.Add("AOL Frame25");
    WindowHandle area = desktop.Add("MDIClient", frame);

    // A document window holding the chat-room controls, except `missing`.
    WindowHandle AddDocument(const std::string& missing = {}, int boxes = 1) {
        const WindowHandle doc = desktop.Add("AOL Child", area);
        for (const char* cls : kRoomClasses)
            if (cls != missing)
                for (int i = 0; i < (std::string(cls) == "RICHCNTL" ? boxes : 1); ++i)
                    desktop.Add(cls, doc);
        return doc;
    }
    WindowHandle Box(WindowHandle room, int n = 0) {
        WindowHandle box = 0;
        for (int i = 0; i <= n; ++i) box = desktop.FindChild(room, box, "RICHCNTL");
        desktop.ClearTrace();
        return box;
    }
    // The lines of one pass of the walk that inspects `doc`, found after `after`.
    Lines Pass(WindowHandle after, WindowHandle doc) {
        Lines lines{"yield", "find AOL Frame25 = " + H(frame),
                    "child " + H(frame) + " after 0 MDIClient = " + H(area),
                    "child " + H(area) + " after " + H(after) + " AOL Child = " + H(doc)};
        for (const char* cls : kRoomClasses)
            lines.push_back("child " + H(doc) + " after 0 " + cls + " = " +
                            H(desktop.FindChild(doc, 0, cls)));
        desktop.trace.resize(desktop.trace.size() - 5);
        return lines;
    }
    Lines Typing(WindowHandle box, const std::string& text, const std::string& saved) {
        return {"send " + H(box) + " 14 0 0",
                "gettext " + H(box) + " " + std::to_string(saved.size() + 1),
                "settext " + H(box) + " ",
                "yield",
                "settext " + H(box) + " " + text,
                "yield",
                "send " + H(box) + " 258 32 0",
                "yield",
                "send " + H(box) + " 258 13 0",
                "yield",
                "yield",
                "settext " + H(box) + " ",
                "yield",
                "settext " + H(box) + " " + saved};
    }
};

TEST_F(AolChatTest, OneBoxRoomGetsTheLineAndTheUsersTextBack) {
    const WindowHandle room = AddDocument();
    const WindowHandle box = Box(room);
    desktop.SetCaption(box, "abc");
    const std::string text = "<font face=\"Arial\" color=>Song";

    toolkit::SendChat(desktop, text);

    Lines expected = Pass(0, room);
    for (const auto& line : Pass(0, room)) expected.push_back(line);
    expected.push_back("child " + H(room) + " after 0 RICHCNTL = " + H(box));
    for (const auto& line : Pass(0, room)) expected.push_back(line);
    expected.push_back("child " + H(room) + " after " + H(box) + " RICHCNTL = 0");
    for (const auto& line : Typing(box, text, "abc")) expected.push_back(line);
    EXPECT_EQ(desktop.trace, expected);
    EXPECT_EQ(desktop.Caption(box), "abc");
}

TEST_F(AolChatTest, TwoBoxRoomTypesIntoTheSecondEvenAnEmptyLine) {
    const WindowHandle room = AddDocument({}, 2);
    const WindowHandle first = Box(room, 0), second = Box(room, 1);
    desktop.SetCaption(first, "transcript");
    desktop.SetCaption(second, "half");

    toolkit::SendChat(desktop, "");

    EXPECT_EQ(Count(desktop.trace,
                    "child " + H(room) + " after " + H(first) + " RICHCNTL = " + H(second)),
              1);
    Lines expected{"yield", "yield", "yield"};  // the three walks
    for (const auto& line : Typing(second, "", "half")) expected.push_back(line);
    EXPECT_EQ(desktop.Messages(), expected);
    EXPECT_EQ(desktop.Caption(first), "transcript");
}

TEST_F(AolChatTest, DocumentsLackingAnyClassArePassedOver) {
    WindowHandle decoys[5];
    for (int i = 0; i < 5; ++i) decoys[i] = AddDocument(kRoomClasses[i]);
    const WindowHandle room = AddDocument();

    desktop.ClearTrace();
    EXPECT_EQ(toolkit::FindChatRoom(desktop), room);
    Lines expected = Pass(0, decoys[0]);
    for (int i = 1; i < 5; ++i)
        for (const auto& line : Pass(decoys[i - 1], decoys[i])) expected.push_back(line);
    for (const auto& line : Pass(decoys[4], room)) expected.push_back(line);
    EXPECT_EQ(desktop.trace, expected);

    desktop.Remove(room);
    EXPECT_EQ(toolkit::FindChatRoom(desktop), 0u);
    desktop.ClearTrace();
    toolkit::SendChat(desktop, "line");
    EXPECT_EQ(desktop.Messages(), Lines(6, "yield"));  // five decoys and the end
}

TEST_F(AolChatTest, NoClientMakesEveryLookupAndSendsNothing) {
    desktop.Remove(frame);
    desktop.ClearTrace();
    toolkit::SendChat(desktop, "line");
    EXPECT_EQ(desktop.trace,
              (Lines{"yield", "find AOL Frame25 = 0", "find MDIClient = 0", "find AOL Child = 0",
                     "find _AOL_Icon = 0", "find _AOL_Static = 0", "find _AOL_Listbox = 0",
                     "find _AOL_Combobox = 0", "find RICHCNTL = 0"}));
}

TEST_F(AolChatTest, WalkEndsOverTopLevelDocumentsAndEverGrowingClients) {
    // Without a frame the walk goes over top-level "AOL Child" windows instead.
    desktop.Remove(frame);
    const WindowHandle stray = desktop.Add("AOL Child");
    EXPECT_EQ(toolkit::FindChatRoom(desktop), 0u);
    EXPECT_EQ(Count(desktop.trace, "yield"), 2);
    desktop.Remove(stray);

    // A client that opens a new document window at every yield.
    frame = desktop.Add("AOL Frame25");
    area = desktop.Add("MDIClient", frame);
    desktop.onYield = [&] { desktop.Add("AOL Child", area); };
    desktop.ClearTrace();
    EXPECT_EQ(toolkit::FindChatRoom(desktop), 0u);
    EXPECT_LE(Count(desktop.trace, "yield"), 1000);
}

TEST_F(AolChatTest, UnreadableEntryBoxStopsTheSendBeforeAnyChange) {
    const WindowHandle box = Box(AddDocument());
    desktop.SetCaption(box, "keep");
    desktop.SetReportedLength(box, 32767);
    EXPECT_THROW(toolkit::SendChat(desktop, "line"), OperationFailed);
    EXPECT_EQ(desktop.Messages(), (Lines{"yield", "yield", "yield", "send " + H(box) + " 14 0 0"}));
    EXPECT_EQ(desktop.Caption(box), "keep");
}

TEST_F(AolChatTest, RoomClosingDuringTheLookupsTypesNowhere) {
    AddDocument();
    // Another program's top-level box, which a lookup under 0 would find.
    const WindowHandle foreign = desktop.Add("RICHCNTL");
    desktop.SetCaption(foreign, "theirs");
    int yields = 0;
    desktop.onYield = [&] {
        if (++yields == 2) desktop.Remove(frame);
    };
    toolkit::SendChat(desktop, "line");
    EXPECT_EQ(desktop.Messages(), Lines(yields, "yield"));
    EXPECT_EQ(desktop.Caption(foreign), "theirs");
}

// ---------------------------------------------------------------- AIM chat window

class AimChatTest : public ::testing::Test {
protected:
    SimDesktop desktop;

    struct Window {
        WindowHandle room = 0;
        std::vector<WindowHandle> boxes, buttons;
    };
    Window AddWindow(int boxes, int buttons) {
        Window w;
        w.room = desktop.Add("AIM_ChatWnd");
        for (int i = 0; i < boxes; ++i) w.boxes.push_back(desktop.Add("WndAte32Class", w.room));
        for (int i = 0; i < buttons; ++i)
            w.buttons.push_back(desktop.Add("_Oscar_IconBtn", w.room));
        return w;
    }
    // The send of an empty box: its text read, set, the button pressed and released.
    Lines Press(WindowHandle box, const std::string& text, WindowHandle button) {
        Lines lines = {"settext " + H(box) + " " + text, "yield", "send " + H(button) + " 513 0 0",
                       "yield", "send " + H(button) + " 514 0 0"};
        if (box != 0)
            lines.insert(lines.begin(), {"send " + H(box) + " 14 0 0", "gettext " + H(box) + " 1"});
        return lines;
    }
};

TEST_F(AimChatTest, SetsTheSecondBoxAndClicksTheFifthButton) {
    const Window w = AddWindow(2, 6);
    const std::string room = "find AIM_ChatWnd = " + H(w.room);
    Lines expected{room};
    const auto lookup = [&](WindowHandle after, const std::string& cls, WindowHandle found) {
        expected.push_back(room);
        expected.push_back("child " + H(w.room) + " after " + H(after) + " " + cls + " = " +
                           H(found));
    };
    lookup(0, "WndAte32Class", w.boxes[0]);
    lookup(w.boxes[0], "WndAte32Class", w.boxes[1]);
    lookup(0, "_Oscar_IconBtn", w.buttons[0]);
    for (int i = 1; i < 5; ++i) lookup(w.buttons[i - 1], "_Oscar_IconBtn", w.buttons[i]);
    for (const auto& line : Press(w.boxes[1], "Song - ( 3:45 / 128 )", w.buttons[4]))
        expected.push_back(line);

    AimRoomSend(desktop, "Song - ( 3:45 / 128 )");
    EXPECT_EQ(desktop.trace, expected);
}

// The window's send empties the box; what the user was typing there comes back.
TEST_F(AimChatTest, TheUsersDraftComesBackAfterTheSend) {
    const Window w = AddWindow(2, 5);
    desktop.SetCaption(w.boxes[1], "brb");
    desktop.SetReply(w.buttons[4], [&](std::uint32_t message, std::uint32_t, std::int32_t) {
        if (message == 514) desktop.SetCaption(w.boxes[1], "");
        return 0;
    });
    desktop.ClearTrace();
    AimRoomSend(desktop, "x");
    EXPECT_EQ(desktop.Messages(),
              (Lines{"send " + H(w.boxes[1]) + " 14 0 0", "gettext " + H(w.boxes[1]) + " 4",
                     "settext " + H(w.boxes[1]) + " x", "yield",
                     "send " + H(w.buttons[4]) + " 513 0 0", "yield",
                     "send " + H(w.buttons[4]) + " 514 0 0", "settext " + H(w.boxes[1]) + " brb"}));
    EXPECT_EQ(desktop.Caption(w.boxes[1]), "brb");
}

TEST_F(AimChatTest, ButtonChainWrapsPastTheLastButton) {
    // Buttons in the window -> index of the one clicked (-1: none).
    const int clicked[] = {-1, 0, 1, 0, -1, 4, 4};
    for (int buttons = 0; buttons <= 6; ++buttons) {
        SCOPED_TRACE(buttons);
        desktop = SimDesktop();
        const Window w = AddWindow(2, buttons);
        desktop.ClearTrace();
        AimRoomSend(desktop, "x");
        const WindowHandle button = clicked[buttons] < 0 ? 0 : w.buttons[clicked[buttons]];
        EXPECT_EQ(desktop.Messages(), Press(w.boxes[1], "x", button));
    }
}

TEST_F(AimChatTest, FewerThanTwoBoxesStillPressesTheButton) {
    const Window w = AddWindow(1, 5);
    desktop.ClearTrace();
    AimRoomSend(desktop, "x");
    EXPECT_EQ(desktop.Messages(), Press(0, "x", w.buttons[4]));
    EXPECT_EQ(desktop.Caption(w.boxes[0]), "");
}

// A desktop on which the AIM chat window closes once it has been found a given
// number of times.
class ClosingDesktop : public SimDesktop {
public:
    WindowHandle room = 0;
    int closeAfter = 0;
    WindowHandle FindTopLevel(const std::string& className) override {
        if (closeAfter-- == 0) Remove(room);
        return SimDesktop::FindTopLevel(className);
    }
};

TEST(AimChatClosingTest, NoWindowOrWindowClosingDuringLookupsSendsNothing) {
    SimDesktop none;
    AimRoomSend(none, "x");
    EXPECT_EQ(none.trace, Lines{"find AIM_ChatWnd = 0"});

    for (int closeAfter = 1; closeAfter <= 7; ++closeAfter) {
        SCOPED_TRACE(closeAfter);
        ClosingDesktop desktop;
        desktop.room = desktop.Add("AIM_ChatWnd");
        desktop.Add("WndAte32Class", desktop.room);
        desktop.Add("WndAte32Class", desktop.room);
        for (int i = 0; i < 5; ++i) desktop.Add("_Oscar_IconBtn", desktop.room);
        // Another program's top-level windows, which a lookup under 0 would reach.
        desktop.Add("WndAte32Class");
        desktop.Add("_Oscar_IconBtn");
        desktop.closeAfter = closeAfter;
        AimRoomSend(desktop, "x");
        EXPECT_TRUE(desktop.Messages().empty());
        EXPECT_EQ(desktop.trace.back(), "find AIM_ChatWnd = 0");
    }
}

// ---------------------------------------------------------------- poll cycle

TEST(ChatPollCycleTest, TickInsideASendStartsNoSecondAnnouncement) {
    SimDesktop desktop;
    const WindowHandle frame = desktop.Add("AOL Frame25");
    const WindowHandle room = desktop.Add("AOL Child", desktop.Add("MDIClient", frame));
    for (const char* cls : {"_AOL_Icon", "_AOL_Static", "_AOL_Listbox", "_AOL_Combobox"})
        desktop.Add(cls, room);
    const WindowHandle aolBox = desktop.Add("RICHCNTL", room);
    const WindowHandle aim = desktop.Add("AIM_ChatWnd");
    desktop.Add("WndAte32Class", aim);
    const WindowHandle aimBox = desktop.Add("WndAte32Class", aim);
    WindowHandle send = 0;
    for (int i = 0; i < 5; ++i) send = desktop.Add("_Oscar_IconBtn", aim);

    test::FakePlayer player;
    test::Recorder out;
    test::FakeControls controls;
    test::FakeYielder yielder;
    test::FakeClock clock;
    AolChatRoom aolRoom(desktop);
    AimChatWindow aimWindow(desktop);
    PollCycle cycle({player, aolRoom, aimWindow, out, out, controls, yielder, clock},
                    "C:\\Tobla\\Tobla.ini");
    cycle.SetLastAnnouncedTitle("Old");
    player.title = "New";
    // Timer ticks keep arriving while the sends yield; halfway the track changes.
    int yields = 0;
    desktop.onYield = [&] {
        if (++yields == 11) player.title = "Next";
        cycle.Tick();
    };
    cycle.Tick();

    const std::string aolLine = "<font face=\"Arial\" color=>New - ( 3:45 / 128 )";
    EXPECT_EQ(Count(desktop.trace, "settext " + H(aolBox) + " " + aolLine), 1);
    EXPECT_EQ(Count(desktop.trace, "send " + H(aolBox) + " 258 13 0"), 1);
    EXPECT_EQ(Count(desktop.trace, "settext " + H(aimBox) + " New - ( 3:45 / 128 )"), 1);
    EXPECT_EQ(Count(desktop.trace, "send " + H(send) + " 514 0 0"), 1);
    EXPECT_EQ(out.events.back(), "log New");
    EXPECT_EQ(controls.label4, "New");

    // The track that changed during the send is announced by the next tick, and its
    // line sent at the chats' pace.
    desktop.onYield = nullptr;
    clock.monotonic += ChatPacer::kPaceMs;
    cycle.Tick();
    EXPECT_EQ(Count(desktop.trace, "settext " + H(aimBox) + " Next - ( 3:45 / 128 )"), 1);
    EXPECT_EQ(out.events.back(), "log Next");
}

}  // namespace
}  // namespace tobla
