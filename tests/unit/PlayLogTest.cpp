#include <gtest/gtest.h>

#include "core/PlayLog.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"

namespace tobla {
namespace {

using Texts = std::vector<std::string>;

const std::string kFolder = "C:\\Tobla";
const std::string kTodaysLog = "C:\\Tobla\\logs\\played 12;6;2026.log";

class FakeLauncher : public Launcher {
public:
    Texts commands;
    void Launch(const std::string& commandLine) override { commands.push_back(commandLine); }
};

TEST(WaitSecondsTest, WaitsAboutNSecondsFromTheRoundedStartYieldingMeanwhile) {
    test::FakeClock clock;
    test::FakeYielder yielder;
    clock.now = 100500;  // rounds to 100 s (half to even)
    toolkit::WaitSeconds(1, clock, yielder);
    EXPECT_EQ(clock.now, 101250);  // last reading 101.000 s
    EXPECT_EQ(yielder.count, 2);

    clock.now = 101500;  // rounds to 102 s
    yielder.count = 0;
    toolkit::WaitSeconds(1, clock, yielder);
    EXPECT_EQ(clock.now, 103250);
    EXPECT_EQ(yielder.count, 6);

    yielder.count = 0;  // the test comes before the first yield
    toolkit::WaitSeconds(0, clock, yielder);
    EXPECT_EQ(yielder.count, 0);
}

TEST(WaitSecondsTest, EndsAcrossMidnightButNotOnAClockSetBackALittle) {
    test::FakeClock clock;
    test::FakeYielder yielder;
    clock.now = 86399500;  // rounds to 86400 s; the clock wraps to 0 after one step
    toolkit::WaitSeconds(2, clock, yielder);
    EXPECT_EQ(clock.now, 2250);
    EXPECT_EQ(yielder.count, 10);

    // Equal readings and a step back of a second are no time passed.
    clock.now = 50000;
    yielder.count = 0;
    yielder.onYield = [&] {
        if (yielder.count == 1) clock.step = 0;
        if (yielder.count == 3) clock.now -= 1000, clock.step = 250;
    };
    toolkit::WaitSeconds(1, clock, yielder);
    EXPECT_EQ(yielder.count, 6);
}

class PlayLogTest : public ::testing::Test {
protected:
    test::MemoryFileSystem files;
    test::FakeClock clock;
    test::Latin1CodePage codePage;
    PlayLogFile log{kFolder, files, codePage, clock};
    void SetUp() override { files.folders.insert(kFolder); }
};

TEST_F(PlayLogTest, FirstAnnouncementCreatesFolderAndFileThenLinesAccumulate) {
    EXPECT_EQ(toolkit::TodayLogPath(kFolder, clock), kTodaysLog);
    log.AppendPlayLog("Artist - Song");
    EXPECT_TRUE(files.folders.count(kFolder + "\\logs"));
    EXPECT_EQ(files.files[kTodaysLog], "12/6/2026 / 9:41:07 PM / Artist - Song\r\n");
    clock.time = "9:45:00 PM";
    log.AppendPlayLog("Band - Tune - W");  // logged whole, as Label4 holds it
    EXPECT_EQ(
        files.files[kTodaysLog],
        "12/6/2026 / 9:41:07 PM / Artist - Song\r\n12/6/2026 / 9:45:00 PM / Band - Tune - W\r\n");
}

// The day's log stays in the code page until a title needs more: then it turns UTF-8
// whole, the lines before converted, and stays so; the next day's starts over.
TEST_F(PlayLogTest, ALogTurnsUtf8ForATitleTheCodePageLacks) {
    log.AppendPlayLog("Caf\u00e9 del Mar");
    EXPECT_EQ(files.files[kTodaysLog], "12/6/2026 / 9:41:07 PM / Caf\xE9 del Mar\r\n");
    files.files[kTodaysLog] += "edited";  // by hand, without its line end
    log.AppendPlayLog("\u5742\u672c\u9f8d\u4e00");
    log.AppendPlayLog("\u00fc");
    EXPECT_EQ(files.files[kTodaysLog],
              "\xEF\xBB\xBF"
              "12/6/2026 / 9:41:07 PM / Caf\u00e9 del Mar\r\n"
              "edited\r\n12/6/2026 / 9:41:07 PM / \u5742\u672c\u9f8d\u4e00\r\n"
              "12/6/2026 / 9:41:07 PM / \u00fc\r\n");
    clock.date = "12/7/2026";
    log.AppendPlayLog("\u00fc");
    EXPECT_EQ(files.files[kFolder + "\\logs\\played 12;7;2026.log"],
              "12/7/2026 / 9:41:07 PM / \xFC\r\n");
    files.locked.insert(kTodaysLog);  // unreadable: left as it is, not rewritten
    files.files[kTodaysLog] = "kept";
    clock.date = "12/6/2026";
    log.AppendPlayLog("\u266b");
    EXPECT_EQ(files.files[kTodaysLog], "kept");
}

// Another program holding the log keeps it from being replaced by its UTF-8 form: the
// old content stays whole and the line waits, to go out with the next one.
TEST_F(PlayLogTest, ALineTheHeldLogCannotTakeGoesOutWithTheNext) {
    log.AppendPlayLog("Caf\u00e9");
    files.held.insert(kTodaysLog);
    log.AppendPlayLog("\u5742\u672c");
    EXPECT_EQ(files.files[kTodaysLog], "12/6/2026 / 9:41:07 PM / Caf\xE9\r\n");
    files.held.clear();
    log.AppendPlayLog("Next");
    EXPECT_EQ(files.files[kTodaysLog],
              "\xEF\xBB\xBF"
              "12/6/2026 / 9:41:07 PM / Caf\u00e9\r\n"
              "12/6/2026 / 9:41:07 PM / \u5742\u672c\r\n"
              "12/6/2026 / 9:41:07 PM / Next\r\n");
}

class LogCommandsTest : public PlayLogTest {
protected:
    FakeLauncher launcher;
    test::FakeYielder yielder;
    LogCommands commands{kFolder, files, clock, launcher, yielder};
    Texts label5, label7;
    LogCommands::SetCaption setLabel5 = [this](const std::string& c) { label5.push_back(c); };
    LogCommands::SetCaption setLabel7 = [this](const std::string& c) { label7.push_back(c); };
};

TEST_F(LogCommandsTest, WithNothingToOpenTheLabelShowsANoticeForASecond) {
    commands.ViewTodaysLog(setLabel5);
    EXPECT_EQ(label5, (Texts{"No Log Found!", "View Today's Log"}));
    EXPECT_GT(yielder.count, 0);

    // What counts as a log in the folder (no sub-folder does) is the real file
    // system's rule, tested against it in SettingsWin32Test.
    commands.ViewAllLogs(setLabel7);
    EXPECT_EQ(label7, (Texts{"Empty!", "All Logs"}));
    EXPECT_TRUE(launcher.commands.empty());
}

TEST_F(LogCommandsTest, WithALogTheEditorOrTheBrowserIsStarted) {
    log.AppendPlayLog("Song");
    commands.ViewTodaysLog(setLabel5);
    commands.ViewAllLogs(setLabel7);
    EXPECT_EQ(launcher.commands, (Texts{"notepad " + kTodaysLog, "explorer C:\\Tobla\\logs\\"}));
    EXPECT_TRUE(label5.empty());
    EXPECT_TRUE(label7.empty());
}

TEST_F(LogCommandsTest, ASecondClickDuringTheNoticeRunsItsOwnNotice) {
    bool clicked = false;
    yielder.onYield = [&] {
        if (clicked) return;
        clicked = true;
        commands.ViewTodaysLog(setLabel5);
    };
    commands.ViewTodaysLog(setLabel5);
    EXPECT_EQ(label5,
              (Texts{"No Log Found!", "No Log Found!", "View Today's Log", "View Today's Log"}));
}

}  // namespace
}  // namespace tobla
