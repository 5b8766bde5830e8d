#include <windows.h>

#include <gtest/gtest.h>

#include "SimAim.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"

// Files beside the program that Tobla cannot use as it expects: the log locked,
// read-only or replaced by a file, settings and template files that are not what
// they should be, the settings file taken away while Tobla runs. Announcing goes on,
// no line is lost: what the log could not take goes out once it can.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;

class FileFaults : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetCaption("1. Artist - Start - Winamp");
        player.SetPlayedMs(5000);
    }
    void LetPollsRun(int polls = 20) { ASSERT_TRUE(WaitForPolls(player, polls)); }
    // Plays a track and waits until Tobla has announced it and finished that poll.
    void Announce(const std::string& title) {
        player.SetCaption("2. " + title + " - Winamp");
        ASSERT_TRUE(aim.WaitForLine(
            [&](const std::string& line) { return line.rfind(title, 0) == 0; }, 10000));
        LetPollsRun();
    }
    std::string Log() { return folder.Read(TodayLogName()); }
    Lines Logged() { return LoggedTitles(Log()); }

    sim::SimWinamp2 player;
    sim::SimAimClient aim;
    ProgramFolder folder;
};

TEST_F(FileFaults, ALockedOrReadOnlyLogKeepsItsLinesAndLoggingResumes) {
    folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\nformat=%s\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    Announce("Artist - One");
    const std::string before = Log();
    ASSERT_EQ(LoggedTitles(before), Lines{"Artist - One"});

    // Another program holds the log open without sharing it.
    HANDLE lock =
        CreateFileA(folder.File(TodayLogName()).c_str(), GENERIC_READ | GENERIC_WRITE,
                    /*dwShareMode=*/0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Announce("Artist - Locked Out");
    CloseHandle(lock);
    EXPECT_EQ(Log(), before);
    Announce("Artist - Two");
    EXPECT_EQ(Logged(), (Lines{"Artist - One", "Artist - Locked Out", "Artist - Two"}));

    // The read-only attribute (which Windows enforces and Wine, for a privileged
    // user, would not).
    const std::string afterTwo = Log();
    ASSERT_TRUE(SetFileAttributesA(folder.File(TodayLogName()).c_str(), FILE_ATTRIBUTE_READONLY));
    Announce("Artist - Read Only");
    EXPECT_EQ(Log(), afterTwo);
    ASSERT_TRUE(SetFileAttributesA(folder.File(TodayLogName()).c_str(), FILE_ATTRIBUTE_NORMAL));
    Announce("Artist - Three");
    EXPECT_EQ(Logged(), (Lines{"Artist - One", "Artist - Locked Out", "Artist - Two",
                               "Artist - Read Only", "Artist - Three"}));
    EXPECT_EQ(aim.Transcript().size(), 5u);
}

TEST_F(FileFaults, AFileNamedLogsAndASettingsFileDeletedWhileRunning) {
    folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\nformat=%s\r\ncolor=255\r\n");
    folder.Write("logs", "not a folder\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    Announce("Artist - Nowhere To Log");
    EXPECT_EQ(folder.Read("logs"), "not a folder\r\n");
    EXPECT_EQ(GetFileAttributesA(folder.File("logs").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // The settings file goes; announcing goes on, and the next change of a control
    // writes a new one.
    ASSERT_TRUE(DeleteFileA(folder.File("Tobla.ini").c_str()));
    ASSERT_TRUE(DeleteFileA(folder.File("logs").c_str()));
    Announce("Artist - No Settings");
    EXPECT_EQ(Logged(), (Lines{"Artist - Nowhere To Log", "Artist - No Settings"}));
    tobla.Click(IDC_CHECK1);
    ASSERT_TRUE(WaitUntil([&] {
        return folder.Read("Tobla.ini").find("aol=1") != std::string::npos;
    })) << folder.Read("Tobla.ini");
    EXPECT_TRUE(tobla.Running());
}

// What can be simulated of a read-only program folder: Wine, running as a privileged
// user, lets every folder be written to, so the files Tobla writes are marked
// read-only instead, which Windows refuses to write. Settings and the template list
// stay as they are, and announcing goes on.
TEST_F(FileFaults, ReadOnlySettingsAndTemplateListAreLeftAsTheyAre) {
    const std::string ini = "[Tobla]\r\naim=1\r\nformat=%s\r\n";
    folder.Write("Tobla.ini", ini);
    folder.Write("send.fmt", "%s\r\n");
    for (const char* name : {"Tobla.ini", "send.fmt"})
        ASSERT_TRUE(SetFileAttributesA(folder.File(name).c_str(), FILE_ATTRIBUTE_READONLY));
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Click(IDC_CHECK1);
    SetWindowTextA(tobla.Control(IDC_TEXT1), "");
    tobla.Type(IDC_TEXT1, "%s !");
    tobla.PressEnter(IDC_TEXT1);
    ASSERT_TRUE(WaitUntil([&] {
        return tobla.CheckState(IDC_CHECK1) == BST_CHECKED && tobla.Text(IDC_TEXT1) == "%s !" &&
               SendMessageA(tobla.Control(IDC_TEXT1), CB_GETCOUNT, 0, 0) == 2;
    }));
    Announce("Artist - Read Only Folder");
    EXPECT_EQ(folder.Read("Tobla.ini"), ini);
    EXPECT_EQ(folder.Read("send.fmt"), "%s\r\n");
    EXPECT_EQ(aim.Transcript(), Lines{"Artist - Read Only Folder !"});
    EXPECT_EQ(Logged(), Lines{"Artist - Read Only Folder"});
}

// Start-up reads both files whole; neither may keep the window from appearing, and
// the template list is not rewritten by reading it.
TEST_F(FileFaults, GarbageSettingsAndAHugeTemplateListStillStart) {
    std::string garbage;
    for (int i = 0; i < 256; ++i) garbage += static_cast<char>(i);
    garbage += "\r\n[Tobla\r\n=\r\n" + std::string(100000, 'x') + "\r\n";
    folder.Write("Tobla.ini", garbage);
    std::string list;
    for (int i = 0; i < 10000; ++i)
        list += "\"%s, \"\"quoted\"\"\",line " + std::to_string(i) + std::string("\0,x\r\n", 5);
    folder.Write("send.fmt", list);

    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    // Each entry is added after a yield: on a slow machine the start outlasts the usual wait.
    ASSERT_TRUE(WaitUntil([&] { return tobla.Visible(); }, 60000));
    EXPECT_GT(SendMessageA(tobla.Control(IDC_TEXT1), CB_GETCOUNT, 0, 0), 10000);
    EXPECT_EQ(folder.Read("send.fmt"), list);

    tobla.Click(IDC_CHECK2);
    ASSERT_TRUE(WaitUntil([&] { return tobla.CheckState(IDC_CHECK2) == BST_CHECKED; }));
    Announce("Artist - Despite It All");
    EXPECT_EQ(Logged(), Lines{"Artist - Despite It All"});
}

}  // namespace
}  // namespace tobla::e2e
