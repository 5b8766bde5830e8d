#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"

// Chat clients that fail Tobla in the middle of an announcement: a target that
// cannot be served costs only its own line, never the other target's or the log's.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;

class ChatFaults : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetCaption("1. Artist - Start - Winamp");
        player.SetPlayedMs(5000);
        folder.Write("Tobla.ini", "[Tobla]\r\naol=1\r\naim=1\r\nformat=%s\r\ncolor=0\r\n");
    }
    void LetPollsRun(int polls = 20) { ASSERT_TRUE(WaitForPolls(player, polls)); }
    Lines Logged() { return LoggedTitles(folder.Read(TodayLogName())); }
    void WaitLogged(std::size_t lines) {
        ASSERT_TRUE(WaitUntil([&] { return Logged().size() >= lines; }));
        LetPollsRun();
    }
    static std::string Aol(const std::string& line) {
        return "<font face=\"Combo1\" color=#000000>" + line;
    }

    sim::SimWinamp2 player;
    ProgramFolder folder;
};

TEST_F(ChatFaults, ChatWindowsClosingDuringASendCostOnlyTheirOwnLines) {
    auto aol =
        std::make_unique<sim::SimAolClient>(sim::SimAolOptions{.vanishAfter = "WM_SETTEXT <font"});
    auto aim = std::make_unique<sim::SimAimClient>(
        sim::SimAimOptions{.vanishAfter = "WM_LBUTTONDOWN btn5"});
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    player.SetCaption("2. Artist - Interrupted - Winamp");
    WaitLogged(1);
    EXPECT_EQ(Logged(), Lines{"Artist - Interrupted"});
    EXPECT_TRUE(aol->Transcript().empty());
    EXPECT_TRUE(aim->Transcript().empty());
    EXPECT_FALSE(IsWindow(aol->Frame()));
    EXPECT_FALSE(IsWindow(aim->Window()));

    // The clients come back: the next track reaches them as usual.
    aol = std::make_unique<sim::SimAolClient>();
    aim = std::make_unique<sim::SimAimClient>();
    player.SetCaption("3. Artist - Back - Winamp");
    WaitLogged(2);
    EXPECT_EQ(Logged(), (Lines{"Artist - Interrupted", "Artist - Back"}));
    EXPECT_TRUE(aol->WaitForLine("Back"));
    EXPECT_TRUE(aim->WaitForLine("Back"));
    EXPECT_EQ(aol->Transcript(), Lines{Aol("Artist - Back")});
    EXPECT_EQ(aim->Transcript(), Lines{"Artist - Back"});
    EXPECT_TRUE(tobla.Running());
}

TEST_F(ChatFaults, AFullAolBoxOrAButtonlessAimWindowStopsOnlyItsOwnTarget) {
    sim::SimAolClient aol;
    auto aim = std::make_unique<sim::SimAimClient>();
    // The room's box already holds as much as a 16-bit length can count.
    const std::string full(32767, 'q');
    aol.SetEntryText(full);
    ASSERT_EQ(aol.EntryText().size(), full.size());
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());

    player.SetCaption("2. Artist - Full Box - Winamp");
    WaitLogged(1);
    EXPECT_EQ(aim->Transcript(), Lines{"Artist - Full Box"});
    EXPECT_TRUE(aol.Transcript().empty());
    EXPECT_EQ(aol.EntryText(), full);  // the user's text is untouched

    aol.SetEntryText("");
    aim = std::make_unique<sim::SimAimClient>(sim::SimAimOptions{.buttons = 0});
    player.SetCaption("3. Artist - No Buttons - Winamp");
    WaitLogged(2);
    EXPECT_EQ(Logged(), (Lines{"Artist - Full Box", "Artist - No Buttons"}));
    EXPECT_TRUE(aol.WaitForLine("No Buttons"));  // the failed send counts for the pace
    EXPECT_EQ(aol.Transcript(), Lines{Aol("Artist - No Buttons")});
    EXPECT_TRUE(aim->Transcript().empty());
    EXPECT_TRUE(tobla.Running());
}

}  // namespace
}  // namespace tobla::e2e
