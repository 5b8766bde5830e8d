#include <windows.h>

#include <gtest/gtest.h>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

namespace tobla::e2e {
namespace {

std::string CaptionOf(HWND window) {
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

class Announcement : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetCaption("1. Artist - First - Winamp");
        player.SetPlayedMs(5000);
        player.SetSongSeconds(225);
        player.SetBitrate(128);
        player.SetListCount(10);
        player.SetListIndex(0);
    }
    void LetTicksRun() { ASSERT_TRUE(WaitForPolls(player)); }
    void Play(const std::string& caption) {
        player.SetPlayedMs(0);
        player.SetCaption(caption);
        LetTicksRun();
        player.SetPlayedMs(1500);
    }

    sim::SimWinamp2 player;
    sim::SimAolClient aol{{.entryBoxes = 2, .decoysBeforeRoom = true}};
    sim::SimAimClient aim;
    ProgramFolder folder;
};

TEST_F(Announcement, TheRoadOfOneTrackChange) {
    folder.Write("Tobla.ini", "[Tobla]\r\naol=1\r\naim=1\r\ncolor=255\r\n");
    aol.SetEntryText("abc");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    LetTicksRun();
    EXPECT_TRUE(aol.Transcript().empty());  // the track playing at start is not announced
    EXPECT_FALSE(folder.Exists(TodayLogName()));
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "Artist - First");

    Play("12. Artist - Second (Caf\xE9 Remix) - Winamp");
    ASSERT_TRUE(aim.WaitForLine("Second", 10000));
    ASSERT_TRUE(aol.WaitForLine("Second", 10000));
    EXPECT_EQ(aol.Transcript(),
              std::vector<std::string>{"<font face=\"Combo1\" color=#FF0000>Artist - Second "
                                       "(Caf\xE9 Remix) - ( 3:45 / 128 )"});
    EXPECT_EQ(aim.Transcript(),
              std::vector<std::string>{"Artist - Second (Caf\xE9 Remix) - ( 3:45 / 128 )"});
    EXPECT_EQ(aol.EntryText(), "abc");  // the user's half-typed line is back
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "Artist - Second (Caf\xE9 Remix)");
    ASSERT_TRUE(WaitUntil([&] { return !folder.Read(TodayLogName()).empty(); }));
    EXPECT_EQ(LoggedTitles(folder.Read(TodayLogName())),
              std::vector<std::string>{"Artist - Second (Caf\xE9 Remix)"});

    // Both boxes unticked: nothing is typed, but the track is still logged.
    tobla.Click(IDC_CHECK1);
    tobla.Click(IDC_CHECK2);
    ASSERT_TRUE(WaitUntil([&] { return tobla.CheckState(IDC_CHECK2) == BST_UNCHECKED; }));
    Play("12345. Artist - Third - Winamp");
    ASSERT_TRUE(WaitUntil([&] { return LoggedTitles(folder.Read(TodayLogName())).size() == 2; }));
    EXPECT_EQ(LoggedTitles(folder.Read(TodayLogName())).back(), "Artist - Third");
    EXPECT_EQ(aol.Transcript().size(), 1u);
    EXPECT_EQ(aim.Transcript().size(), 1u);
}

// With taskbar scrolling on, the player's caption changes many times a second while
// one track plays, in the form of either generation: the track is announced once,
// under its own title, even one whose first word repeats where a turn cuts it.
TEST_F(Announcement, AScrollingCaptionIsAnnouncedOnce) {
    folder.Write("Tobla.ini", "[Tobla]\r\naol=1\r\naim=1\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    LetTicksRun();
    const std::string still = "ZZ Top - La Grange - Winamp";
    player.SetPlayedMs(0);
    player.Scroll(still, sim::ScrollForm::Winamp5, /*stepMs=*/50);
    LetTicksRun();
    player.SetPlayedMs(1500);
    for (const auto form : {sim::ScrollForm::Winamp5, sim::ScrollForm::Winamp2}) {
        player.Scroll(still, form, /*stepMs=*/50);
        const std::string lastStep = sim::ScrollingCaptions(still, form).back();
        ASSERT_TRUE(WaitUntil([&] { return CaptionOf(player.Window()) == lastStep; }));
        LetTicksRun();
    }
    EXPECT_EQ(aim.Transcript(), std::vector<std::string>{"ZZ Top - La Grange - ( 3:45 / 128 )"});
    EXPECT_EQ(aol.Transcript().size(), 1u);
    EXPECT_EQ(tobla.Text(IDC_LABEL4), "ZZ Top - La Grange");
    EXPECT_EQ(LoggedTitles(folder.Read(TodayLogName())),
              std::vector<std::string>{"ZZ Top - La Grange"});
}

TEST_F(Announcement, HiddenWindowKeepsAnnouncingAndExitEndsTheProgram) {
    folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\nformat=%p/%c %s\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Post(WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tobla.Visible(); }));
    player.SetListIndex(4);
    Play("5. Artist - Hidden - Winamp");
    ASSERT_TRUE(aim.WaitForLine("Hidden", 10000));
    EXPECT_EQ(aim.Transcript(), std::vector<std::string>{"5/10 Artist - Hidden"});
    EXPECT_TRUE(aol.Transcript().empty());

    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    EXPECT_TRUE(tobla.WaitForExit());
}

}  // namespace
}  // namespace tobla::e2e
