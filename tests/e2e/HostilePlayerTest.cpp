#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "SimAim.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

// Tobla against a player that misbehaves: captions it cannot or should not read, a
// player that stops answering, one that goes away or comes back as the other
// generation. Tobla must neither crash nor freeze, never announce what it could not
// read, and announce normally once the player is sane again.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;

class HostilePlayer : public ::testing::Test {
protected:
    void SetUp() override {
        player = std::make_unique<sim::SimWinamp2>();
        player->SetCaption("1. Artist - Start - Winamp");
        player->SetPlayedMs(5000);
        folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\nformat=%s\r\n");
    }

    void LetPollsRun(int polls = 20) { ASSERT_TRUE(WaitForPolls(*player, polls)); }
    std::vector<std::string> Logged() { return LoggedTitles(folder.Read(TodayLogName())); }
    void ExpectLogged(const Lines& titles) {
        ASSERT_TRUE(WaitUntil([&] { return Logged().size() >= titles.size(); }, 10000));
        LetPollsRun();
        EXPECT_EQ(Logged(), titles);
    }

    std::unique_ptr<sim::SimWinamp2> player;
    sim::SimAimClient aim;
    ProgramFolder folder;
};

TEST_F(HostilePlayer, UnreadableCaptionLengthsAreNeverAnnounced) {
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    player->ReportTextLength(-1);
    player->SetCaption("2. Artist - Unreadable - Winamp");
    LetPollsRun();
    EXPECT_FALSE(folder.Exists(TodayLogName()));
    EXPECT_TRUE(aim.Transcript().empty());
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "Artist - Start");

    // (An absurd length such as 0x7FFFFFFF is refused in the Win32 seam tests: from
    // another process Wine asks the window for its text itself and hands over the
    // true length, so no step here could see the refusal.)
    player->ReportTruly();
    ExpectLogged({"Artist - Unreadable"});
    EXPECT_EQ(aim.Transcript(), Lines{"Artist - Unreadable"});
}

TEST_F(HostilePlayer, HugeAndBinaryCaptionsAreAnnouncedOnceAsRead) {
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    // 40,000 characters in all.
    const std::string longTitle = "Artist - " + std::string(40000 - 21, 'x') + "!";
    player->SetCaption("2. " + longTitle + " - Winamp");
    ExpectLogged({longTitle});
    EXPECT_EQ(tobla.Text(IDC_LABEL4), longTitle);

    // NULs and 8-bit characters inside the caption: read as far as the window hands
    // them over, announced and logged once, not again on every poll.
    player->ReportCaptionBytes(std::string("3. Caf\xE9 \xFF\x81 - N\0U\0L - Winamp", 30));
    ASSERT_TRUE(WaitUntil([&] { return Logged().size() == 2; }));
    LetPollsRun(50);
    const Lines logged = Logged();
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[1].rfind("Caf\xE9 \xFF\x81 - N", 0), 0u) << logged[1];

    player->ReportTruly();
    player->SetCaption("4. Artist - Sane - Winamp");
    ExpectLogged({longTitle, logged[1], "Artist - Sane"});
    ASSERT_TRUE(aim.WaitForLine("Artist - Sane"));  // at the chat's pace
    EXPECT_EQ(aim.Transcript().back(), "Artist - Sane");
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "Artist - Sane");
}

// Tobla gives up on a player that takes no messages after a while (see the Win32
// player tests); Wine, though, lets a send to another process wait for as long as
// the player hangs. What holds on both: Tobla's window keeps answering meanwhile, the
// track is announced once the player is back, and an Exit clicked during a hang
// is carried out.
TEST_F(HostilePlayer, AHungPlayerNeitherFreezesToblaNorKeepsItFromExiting) {
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    player->SetPlayedMs(0);
    player->SetCaption("2. Artist - Before The Hang - Winamp");
    LetPollsRun(2);
    player->Hang();
    const DWORD hung = GetTickCount();
    int unanswered = 0;
    ASSERT_TRUE(WaitUntil([&] {  // a hang of a second and a half
        DWORD_PTR length = 0;
        unanswered += !SendMessageTimeoutA(tobla.Control(IDC_LABEL4), WM_GETTEXTLENGTH, 0, 0,
                                           SMTO_NORMAL, 1000, &length);
        return GetTickCount() - hung >= 1500;
    }));
    EXPECT_EQ(unanswered, 0);
    player->SetPlayedMs(1500);
    player->Release();
    ExpectLogged({"Artist - Before The Hang"});

    player->Hang();
    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    // A bounded hang: on Windows Tobla may well be gone before it ends.
    WaitUntil([&] { return !tobla.Running(); }, 2500);
    player->Release();
    EXPECT_TRUE(tobla.WaitForExit(10000));
    EXPECT_EQ(Logged(), Lines{"Artist - Before The Hang"});
}

TEST_F(HostilePlayer, APlayerThatGoesAwayOrChangesGenerationIsFollowed) {
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    player->SetCaption("2. Artist - Two - Winamp");
    ExpectLogged({"Artist - Two"});

    player.reset();
    ASSERT_TRUE(tobla.RunTicks(20));  // nothing to announce while no player runs
    EXPECT_EQ(Logged(), Lines{"Artist - Two"});
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "Artist - Two");

    {
        sim::SimWinamp3 studio(4);
        studio.SetCaption("3. Artist - Three (3:00) (playing)");
        ASSERT_TRUE(WaitUntil([&] { return Logged().size() == 2; }));
        ASSERT_TRUE(aim.WaitForLine("Artist - Three"));  // at the chat's pace
    }
    // Winamp 3 ends and Winamp 2 starts between two polls.
    player = std::make_unique<sim::SimWinamp2>();
    player->SetCaption("4. Artist - Four - Winamp");
    player->SetPlayedMs(5000);
    ExpectLogged({"Artist - Two", "Artist - Three", "Artist - Four"});
    ASSERT_TRUE(aim.WaitForLine("Artist - Four"));
    EXPECT_EQ(aim.Transcript(), (Lines{"Artist - Two", "Artist - Three", "Artist - Four"}));
    EXPECT_TRUE(tobla.Running());
}

}  // namespace
}  // namespace tobla::e2e
