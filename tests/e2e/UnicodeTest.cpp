#include <windows.h>

#include <gtest/gtest.h>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"
#include "win32/WideText.h"

// Text in any script, from a Unicode player (Winamp 5) to a Unicode AIM window, the
// log and Tobla's own files, on a system whose code page is 1252. Files keep the
// code page while their text fits it and take a Unicode form, whole, once it does not.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;
const std::string kUtf8Mark = "\xEF\xBB\xBF";

std::u16string CaptionOf(HWND window) {
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    return std::u16string(caption, caption + lstrlenW(caption));
}

std::string Utf16Le(const std::u16string& units) {
    std::string bytes;
    for (char16_t unit : units)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

// A Notepad window whose text holds `line`, or nullptr.
HWND NotepadShowing(const std::string& line) {
    HWND notepad = nullptr;
    while ((notepad = FindWindowExW(nullptr, notepad, L"Notepad", nullptr))) {
        HWND edit = FindWindowExW(notepad, nullptr, L"Edit", nullptr);
        // Wine's Notepad answers WM_GETTEXTLENGTH with 0 from another process: a
        // buffer of its own size is read instead.
        std::wstring text(4096, L'\0');
        text.resize(
            SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
        if (edit && Utf8(text).find(line) != std::string::npos) return notepad;
    }
    return nullptr;
}

std::string Utf8FromCodePage1252(const std::string& bytes) {
    std::wstring units(bytes.size(), L'\0');
    const int size = static_cast<int>(bytes.size());
    units.resize(MultiByteToWideChar(1252, 0, bytes.data(), size, units.data(), size));
    return Utf8(units);
}

class UnicodeText : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetCaption("1. Artist - First - Winamp");
        player.SetPlayedMs(5000);
        player.SetSongSeconds(225);
        player.SetBitrate(192);
    }
    void LetPollsRun() { ASSERT_TRUE(WaitForPolls(player)); }
    // A new track: seen first at its start, then a second and a half into it, by
    // which time Tobla has announced it and finished that poll.
    void Play(const std::string& caption) {
        const std::size_t lines = aim.Transcript().size();
        player.SetPlayedMs(0);
        player.SetCaption(caption);
        LetPollsRun();
        player.SetPlayedMs(1500);
        EXPECT_TRUE(WaitUntil([&] { return aim.Transcript().size() > lines; })) << caption;
        LetPollsRun();
    }

    sim::SimWinamp2 player{/*visible=*/false, sim::Charset::Unicode};
    sim::SimAimClient aim{{.charset = sim::Charset::Unicode}};
    ProgramFolder folder;
};

// Both chats, the user's draft and the log, for a Latin title and then a Japanese
// one: the ANSI AOL room gets the code page's question marks, the log turns UTF-8.
TEST_F(UnicodeText, ATitleInAnyScriptReachesBothChatsTheDraftAndTheLog) {
    sim::SimAolClient aol;
    folder.Write("Tobla.ini", "[Tobla]\r\naol=1\r\naim=1\r\ncolor=255\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    LetPollsRun();

    Play("3. Café del Mar - Winamp");
    const std::string latin = folder.Read(TodayLogName());
    EXPECT_EQ(LoggedTitles(latin), Lines{"Caf\xE9 del Mar"});  // the code page's bytes

    aim.SetEntryText("こんにちは привет");
    Play("2. 坂本龍一 - 戦場のメリークリスマス - Winamp");
    EXPECT_EQ(aim.Transcript(), (Lines{"Café del Mar - ( 3:45 / 192 )",
                                       "坂本龍一 - 戦場のメリークリスマス - ( 3:45 / 192 )"}));
    EXPECT_EQ(aim.EntryText(), "こんにちは привет");
    const std::string font = "<font face=\"Combo1\" color=#FF0000>";
    EXPECT_EQ(aol.Transcript(), (Lines{font + "Caf\xE9 del Mar - ( 3:45 / 192 )",
                                       font + "???? - ??????????? - ( 3:45 / 192 )"}));

    // The log converted whole: the mark, its earlier line in UTF-8, then the new one.
    const std::string log = folder.Read(TodayLogName());
    const std::string converted = kUtf8Mark + Utf8FromCodePage1252(latin);
    EXPECT_EQ(log.substr(0, converted.size()), converted);
    EXPECT_EQ(LoggedTitles(log), (Lines{"Café del Mar", "坂本龍一 - 戦場のメリークリスマス"}));
}

// A scrolling caption turned by UTF-16 units cuts the note's two units apart in some
// steps; every step gives the still title, announced and logged once.
TEST_F(UnicodeText, ACaptionScrolledThroughACharacterOfTwoUnitsIsAnnouncedOnce) {
    folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    LetPollsRun();
    const std::string still = "7. Artist 🎵 Name - Song - Winamp";
    player.SetPlayedMs(0);
    player.Scroll(still, sim::ScrollForm::Winamp5, /*stepMs=*/50);
    LetPollsRun();
    player.SetPlayedMs(1500);
    for (const auto form : {sim::ScrollForm::Winamp5, sim::ScrollForm::Winamp2}) {
        player.Scroll(still, form, /*stepMs=*/50);
        const std::u16string lastStep =
            sim::ScrollingCaptions(text::Utf16FromUtf8(still), form).back();
        ASSERT_TRUE(WaitUntil([&] { return CaptionOf(player.Window()) == lastStep; }));
        LetPollsRun();
    }
    EXPECT_EQ(aim.Transcript(), Lines{"Artist 🎵 Name - Song - ( 3:45 / 192 )"});
    EXPECT_EQ(LoggedTitles(folder.Read(TodayLogName())), Lines{"Artist 🎵 Name - Song"});
}

// A template beyond the code page, typed as the keyboard delivers it (the emoji as its
// two UTF-16 halves) and saved with Enter: Tobla.ini turns UTF-16 (what it held before
// converted with it), send.fmt UTF-8, and both come back.
TEST_F(UnicodeText, ATemplateBeyondTheCodePageIsSavedAndComesBack) {
    folder.Write("Tobla.ini", "[Tobla]\r\naim=1\r\n");
    {
        ToblaProcess tobla(folder);
        ASSERT_TRUE(tobla.Started());
        SetWindowTextW(tobla.Control(IDC_TEXT1), L"");
        tobla.Type(IDC_TEXT1, u"♫ %s ★ 🎵");
        tobla.PressEnter(IDC_TEXT1);
        ASSERT_TRUE(WaitUntil([&] { return !folder.Read("send.fmt").empty(); }));
        tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
        ASSERT_TRUE(tobla.WaitForExit());
    }
    EXPECT_EQ(folder.Read("send.fmt"), kUtf8Mark + "♫ %s ★ 🎵\r\n");
    const std::string ini = folder.Read("Tobla.ini");
    EXPECT_EQ(ini.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(ini.find(Utf16Le(u"format=♫ %s ★ 🎵\r\n")), std::string::npos) << ini;
    EXPECT_NE(ini.find(Utf16Le(u"aim=1\r\n")), std::string::npos) << ini;

    ToblaProcess again(folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(again.UnicodeText(IDC_TEXT1), "♫ %s ★ 🎵");
    EXPECT_EQ(again.ListEntries(IDC_TEXT1), Lines{"♫ %s ★ 🎵"});
    EXPECT_EQ(again.CheckState(IDC_CHECK2), BST_CHECKED);
    LetPollsRun();
    Play("2. Artist - Second - Winamp");
    EXPECT_EQ(aim.Transcript(), Lines{"♫ Artist - Second ★ 🎵"});
}

// Tobla finds its files beside it in a folder whose name the code page cannot spell,
// and its log link opens the log there.
TEST_F(UnicodeText, AProgramFolderNamedInAnotherScriptHoldsItsFiles) {
    ProgramFolder named("tobla-Дмитрий-山田");
    named.Write("Tobla.ini", "[Tobla]\r\naim=1\r\n");
    ToblaProcess tobla(named);
    ASSERT_TRUE(tobla.Started());
    LetPollsRun();
    Play("2. Artist - Abroad - Winamp");
    EXPECT_EQ(aim.Transcript(), Lines{"Artist - Abroad - ( 3:45 / 192 )"});  // aim=1 was read
    ASSERT_EQ(LoggedTitles(named.Read(TodayLogName())), Lines{"Artist - Abroad"});

    tobla.SendCommand(IDC_LABEL5, STN_CLICKED);
    HWND notepad = nullptr;
    const auto shown = [&] { return (notepad = NotepadShowing("Artist - Abroad")) != nullptr; };
    EXPECT_TRUE(WaitUntil(shown, /*timeoutMs=*/20000));
    if (notepad) PostMessageW(notepad, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(notepad); }));
}

}  // namespace
}  // namespace tobla::e2e
