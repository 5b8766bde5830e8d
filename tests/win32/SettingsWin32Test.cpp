#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "RemoveTree.h"
#include "core/PlayLog.h"
#include "core/PollCycle.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "win32/WideText.h"
#include "win32/Win32Services.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"

namespace tobla {
namespace {

// A fresh folder under the temporary folder, removed with its contents afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    std::string folder;

    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        folder = std::string(temp) + "tobla-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++serial);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    void TearDown() override { sim::RemoveTree(folder); }

    std::string Bytes(const std::string& path) {
        return files.ReadFile(path).value_or("<unreadable>");
    }
    void Put(const std::string& path, const std::string& bytes, DWORD attributes = 0) {
        ASSERT_TRUE(files.WriteFile(path, bytes));
        if (attributes) SetFileAttributesA(path.c_str(), attributes);
    }

    Win32FileSystem files;
};

class SettingsWin32Test : public TempFolderTest {
protected:
    std::string ini() const { return InFolder(folder, kSettingsFileName); }
    Win32CodePage codePage;
    Win32Settings settings{files, codePage};
};

TEST_F(SettingsWin32Test, FileHoldsKeysInFirstWrittenOrderAndRewritesInPlace) {
    settings.WriteToIni("Tobla", "format", "%s - ( %l / %b )", ini());
    EXPECT_EQ(Bytes(ini()), "[Tobla]\r\nformat=%s - ( %l / %b )\r\n");

    settings.WriteToIni("Tobla", "aol", "1", ini());
    settings.WriteToIni("Tobla", "color", "255", ini());
    settings.WriteToIni("Tobla", "format", "%s", ini());
    EXPECT_EQ(Bytes(ini()), "[Tobla]\r\nformat=%s\r\naol=1\r\ncolor=255\r\n");
    EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), "%s");
}

// What the profile writer does to a hand-edited file: names keep their case, the
// whole file comes back with CR LF line ends, blanks around "=" and the value go.
// The profile functions keep the file in the code page, byte for byte as before, until
// a value needs a character it lacks: then the file is UTF-16 after its mark, the
// lines before converted, and values of any script read back.
TEST_F(SettingsWin32Test, AValueTheCodePageLacksTurnsTheFileIntoUtf16) {
    settings.WriteToIni("Tobla", "font", "Caf\u00e9", ini());
    EXPECT_EQ(Bytes(ini()), "[Tobla]\r\nfont=Caf\xE9\r\n");
    settings.WriteToIni("Tobla", "format", "\u266b %s \U0001F3B5", ini());
    const std::wstring expected =
        L"\xFEFF[Tobla]\r\nfont=Caf\u00e9\r\nformat=\u266b %s \U0001F3B5\r\n";
    EXPECT_EQ(Bytes(ini()), std::string(reinterpret_cast<const char*>(expected.data()),
                                        expected.size() * sizeof(wchar_t)));
    EXPECT_EQ(settings.GetFromIni("Tobla", "font", ini()), "Caf\u00e9");
    EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), "\u266b %s \U0001F3B5");
    settings.WriteToIni("Tobla", "aol", "1", ini());  // stays UTF-16
    EXPECT_EQ(Bytes(ini()).substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(settings.GetFromIni("Tobla", "aol", ini()), "1");
}

// The profile functions know no UTF-8 mark: a file an editor saved with it is turned
// into UTF-16 before the first read, every key and value kept.
TEST_F(SettingsWin32Test, AFileSavedAsUtf8WithTheMarkTurnsUtf16BeforeTheFirstRead) {
    const std::string text = "[Tobla]\r\naol=1\r\nfont=Caf\u00e9 Sans\r\nformat=%s \u266b\r\n";
    Put(ini(), "\xEF\xBB\xBF" + text);
    EXPECT_EQ(settings.GetFromIni("Tobla", "aol", ini()), "1");
    EXPECT_EQ(settings.GetFromIni("Tobla", "font", ini()), "Caf\u00e9 Sans");
    EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), "%s \u266b");
    const std::wstring expected = L"\xFEFF" + Wide(text);
    EXPECT_EQ(Bytes(ini()), std::string(reinterpret_cast<const char*>(expected.data()),
                                        expected.size() * sizeof(wchar_t)));
}

// Code-page text of older versions is not taken for UTF-8: it reads and stays so.
TEST_F(SettingsWin32Test, ACodePageFileWithAccentsStaysInTheCodePage) {
    Put(ini(), "[Tobla]\r\nfont=Caf\xE9\r\n");
    EXPECT_EQ(settings.GetFromIni("Tobla", "font", ini()), "Caf\u00e9");
    settings.WriteToIni("Tobla", "aol", "1", ini());
    EXPECT_EQ(Bytes(ini()), "[Tobla]\r\nfont=Caf\xE9\r\naol=1\r\n");
}

TEST_F(SettingsWin32Test, WriterKeepsHandWrittenNamesAndMendsLineEnds) {
    Put(ini(), "[Other]\r\nx=1\r\n[tobla]\nAOL=1\nfont = Arial ");
    settings.WriteToIni("Tobla", "aol", "0", ini());
    settings.WriteToIni("Tobla", "color", "255", ini());
    EXPECT_EQ(Bytes(ini()), "[Other]\r\nx=1\r\n[tobla]\r\nAOL=0\r\nfont=Arial\r\ncolor=255\r\n");
}

TEST_F(SettingsWin32Test, ReadsHandWrittenFilesLikeTheProfileFunctions) {
    Put(ini(),
        "[tobla]\r\nAOL=1\r\nfont =  Arial  \r\nformat=\"%s, %l\"\r\nquoted='x'\r\n"
        "color=\r\n");
    EXPECT_EQ(settings.GetFromIni("Tobla", "aol", ini()), "1");
    EXPECT_EQ(settings.GetFromIni("Tobla", "AOL", ini()), "1");
    EXPECT_EQ(settings.GetFromIni("Tobla", "font", ini()), "Arial");
    EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), "%s, %l");
    EXPECT_EQ(settings.GetFromIni("Tobla", "quoted", ini()), "x");
    EXPECT_EQ(settings.GetFromIni("Tobla", "color", ini()), "");
    EXPECT_EQ(settings.GetFromIni("Tobla", "aim", ini()), "");
    EXPECT_EQ(settings.GetFromIni("Tobla", "aol", folder + "\\missing.ini"), "");
}

// The profile reader drops blanks and one pair of quotes around a value: a template
// with either is stored so that it still reads back as typed.
TEST_F(SettingsWin32Test, TemplatesWithBlanksOrQuotesAroundThemReadBackAsTyped) {
    for (const std::string typed :
         {"'%s' ", "\"%s\"", "  %s", "%s\t", "\"a\" b \"c\"", "'x'", "\"%s", "%s, %l"}) {
        settings.WriteToIni("Tobla", "format", typed, ini());
        EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), typed) << typed;
    }
}

TEST_F(SettingsWin32Test, LongValueReadsBackAsItsFirst749Characters) {
    std::string value;
    for (int i = 0; i < 800; ++i) value += static_cast<char>('a' + i % 26);
    settings.WriteToIni("Tobla", "format", value, ini());
    EXPECT_EQ(settings.GetFromIni("Tobla", "format", ini()), value.substr(0, 749));
}

TEST_F(TempFolderTest, FileExistsMatchesOnlyOrdinaryFiles) {
    const std::string sub = folder + "\\sub";
    ASSERT_TRUE(files.CreateFolder(sub));
    EXPECT_FALSE(files.CreateFolder(sub));
    Put(sub + "\\hidden", "h", FILE_ATTRIBUTE_HIDDEN);
    Put(sub + "\\system", "s", FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(files.CreateFolder(sub + "\\inner"));

    EXPECT_FALSE(files.FileExists(""));
    EXPECT_FALSE(files.FileExists(sub));
    EXPECT_FALSE(files.FileExists(sub + "\\"));
    EXPECT_FALSE(files.FileExists(sub + "\\hidden"));
    EXPECT_FALSE(files.FileExists(sub + "\\system"));
    EXPECT_FALSE(files.FileExists(sub + "\\missing"));

    Put(sub + "\\plain.log", "p", FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(files.FileExists(sub + "\\plain.log"));
    EXPECT_TRUE(files.FileExists(sub + "\\"));
}

class PlayLogWin32Test : public TempFolderTest {
protected:
    test::FakeClock clock;
    Win32CodePage codePage;
    std::optional<PlayLogFile> log;
    void SetUp() override {
        TempFolderTest::SetUp();
        log.emplace(folder, files, codePage, clock);
    }
    std::string logs() const { return folder + "\\logs"; }
    std::string today() const { return folder + "\\logs\\played 12;6;2026.log"; }
};

TEST_F(PlayLogWin32Test, CreatesTheFolderAndAddsOneLinePerAnnouncement) {
    log->AppendPlayLog("First");
    EXPECT_EQ(GetFileAttributesA(logs().c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(Bytes(today()), "12/6/2026 / 9:41:07 PM / First\r\n");
    log->AppendPlayLog("Second - W");
    EXPECT_EQ(Bytes(today()),
              "12/6/2026 / 9:41:07 PM / First\r\n12/6/2026 / 9:41:07 PM / Second - W\r\n");
}

TEST_F(PlayLogWin32Test, LastLineWithoutLineEndIsMended) {
    ASSERT_TRUE(files.CreateFolder(logs()));
    Put(today(), "by hand");
    log->AppendPlayLog("Song");
    EXPECT_EQ(Bytes(today()), "by hand\r\n12/6/2026 / 9:41:07 PM / Song\r\n");
    Put(today(), "by hand\r");  // a lone CR only lacks its LF
    log->AppendPlayLog("Song");
    EXPECT_EQ(Bytes(today()), "by hand\r\n12/6/2026 / 9:41:07 PM / Song\r\n");
}

// Counted on the x87 unit as fractions of a second, equal readings of the real clock
// could compare as a step back, and a one-second notice ended at once.
TEST(ClockWin32Test, AOneSecondWaitOnTheRealClockLastsAboutASecond) {
    Win32Clock clock;
    test::FakeYielder yielder;
    const DWORD start = GetTickCount();
    toolkit::WaitSeconds(1, clock, yielder);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 480u);
    EXPECT_LE(waited, 5000u);  // loose: a busy machine delays the end, not the start
}

// The system's rules lower accented letters too, and those of other scripts.
TEST(CaseRulesWin32Test, ListsCompareAccentedLettersIgnoringCase) {
    ASSERT_EQ(GetACP(), 1252u);
    Win32CaseRules cases;
    test::VectorList templates({"caf\u00e9 %s", "\u043f\u0440\u0438\u0432\u0435\u0442 \u266b"});
    EXPECT_TRUE(toolkit::IsInList(templates, "CAF\u00c9 %s", cases));
    EXPECT_TRUE(toolkit::IsInList(templates, "\u041f\u0420\u0418\u0412\u0415\u0422 \u266b", cases));
    EXPECT_FALSE(toolkit::IsInList(templates, "CAFE %s", cases));
    test::FakeYielder yielder;
    test::VectorList fonts({"\u00c9lan", "\u00e9lan", "Zed"});
    EXPECT_EQ(winampApi::RemoveDuplicates(fonts, yielder, cases), 1);
    EXPECT_EQ(fonts.entries, (std::vector<std::string>{"\u00c9lan", "Zed"}));
}

TEST_F(TempFolderTest, ProgramFolderHoldsTheExecutable) {
    const std::string program = ProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(program.back() != '\\' || program.size() == 3);
    EXPECT_TRUE(files.FileExists(program + "\\win32_tests.exe"));
}

// The poll cycle with the real settings file and the real play log.
TEST_F(TempFolderTest, AnnouncementUsesStoredColourAndLandsInTodaysLog) {
    Win32CodePage codePage;
    Win32Settings settings{files, codePage};
    Win32Clock clock;
    PlayLogFile log{folder, files, codePage, clock};
    test::FakePlayer player;
    test::Recorder chat;
    test::FakeControls controls;
    test::FakeYielder yielder;
    settings.WriteToIni(kSettingsSection, "color", "255", InFolder(folder, kSettingsFileName));
    PollCycle cycle{{player, chat.aol, chat.aim, settings, log, controls, yielder, clock},
                    InFolder(folder, kSettingsFileName)};

    cycle.SetLastAnnouncedTitle("Old");
    player.title = "New Song";
    cycle.Tick();
    ASSERT_FALSE(chat.events.empty());
    EXPECT_EQ(chat.events.front(),
              "aol <font face=\"Arial\" color=#FF0000>New Song - ( 3:45 / 128 )");

    const std::string content = Bytes(toolkit::TodayLogPath(folder, clock));
    const std::string tail = " / New Song\r\n";
    ASSERT_GE(content.size(), tail.size());
    EXPECT_EQ(content.substr(content.size() - tail.size()), tail);
    EXPECT_EQ(content.find(clock.ShortDate() + " / "), 0u);
}

}  // namespace
}  // namespace tobla
