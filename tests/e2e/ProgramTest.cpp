#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/ToblaProcess.h"
#include "win32/ControlIds.h"
#include "win32/TrayIcon.h"

namespace tobla::e2e {
namespace {

const char* const kFirstStartIni = "[Tobla]\r\nformat=%s - ( %l / %b )\r\n";

int CALLBACK FirstFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM face) {
    if (font->lfFaceName[0] != '@') {
        *reinterpret_cast<std::string*>(face) = font->lfFaceName;
        return 0;
    }
    return 1;
}

std::string SomeInstalledFace() {
    std::string face;
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &all, reinterpret_cast<FONTENUMPROCA>(&FirstFace),
                        reinterpret_cast<LPARAM>(&face), 0);
    ReleaseDC(nullptr, dc);
    return face;
}

// What the screen shows at the middle of a control (the window is topmost).
COLORREF PixelOf(HWND control) {
    RECT area;
    GetWindowRect(control, &area);
    HDC screen = GetDC(nullptr);
    const COLORREF pixel =
        GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return pixel;
}

bool PopupMenuShown() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

// Releasing the right button on the icon opens its menu; the menu is then closed
// as a click elsewhere closes it. (Wine keeps a menu's items inside its process, so
// the item texts cannot be read from here.)
bool TrayMenuOpens(const ToblaProcess& tobla) {
    tobla.Post(kTrayCallbackMessage, 1, WM_RBUTTONUP);
    const bool shown = WaitUntil(PopupMenuShown, 5000);
    SendMessageA(tobla.Window(), WM_CANCELMODE, 0, 0);
    return shown && WaitUntil([] { return !PopupMenuShown(); }, 5000);
}

TEST(Program, FirstStartWithNoFiles) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    EXPECT_EQ(tobla.CheckState(IDC_CHECK1), BST_UNCHECKED);
    EXPECT_EQ(tobla.CheckState(IDC_CHECK2), BST_UNCHECKED);
    EXPECT_EQ(tobla.Text(IDC_TEXT1), "%s - ( %l / %b )");
    EXPECT_EQ(tobla.Text(IDC_COMBO1), "Combo1");
    EXPECT_EQ(SendMessageA(tobla.Control(IDC_COMBO1), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_GT(SendMessageA(tobla.Control(IDC_COMBO1), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(tobla.Control(IDC_TEXT1), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(folder.Read("Tobla.ini"), kFirstStartIni);
    EXPECT_EQ(tobla.Text(IDC_LABEL5), "View Today's Log");
    EXPECT_EQ(tobla.Text(IDC_LABEL9), "Winamp 2/3 ; AOL/AIM 32-bit");
    EXPECT_TRUE(GetWindowLongA(tobla.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Label4 lies below the visible client area.
    RECT client, label;
    GetClientRect(tobla.Window(), &client);
    GetWindowRect(tobla.Control(IDC_LABEL4), &label);
    MapWindowPoints(nullptr, tobla.Window(), reinterpret_cast<POINT*>(&label), 2);
    EXPECT_GE(label.top, client.bottom);
}

TEST(Program, ControlsWriteTheirSettingsTheMomentTheyChange) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Click(IDC_CHECK1);
    ASSERT_TRUE(
        WaitUntil([&] { return folder.Read("Tobla.ini").find("aol=1") != std::string::npos; }));
    EXPECT_EQ(tobla.CheckState(IDC_CHECK1), BST_CHECKED);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(tobla.Window(), nullptr), &gui);
    HWND combo = tobla.Control(IDC_COMBO1);
    EXPECT_TRUE(gui.hwndFocus == combo || GetParent(gui.hwndFocus) == combo);
    tobla.Click(IDC_CHECK2);
    tobla.Click(IDC_CHECK1);
    ASSERT_TRUE(WaitUntil([&] {
        return folder.Read("Tobla.ini") == std::string(kFirstStartIni) + "aol=0\r\naim=1\r\n";
    })) << folder.Read("Tobla.ini");

    SetWindowTextA(tobla.Control(IDC_TEXT1), "");
    tobla.Type(IDC_TEXT1, "%s\xFC!");
    // A character of the code page beyond ASCII keeps the file in the code page's bytes.
    const std::string ini = "[Tobla]\r\nformat=%s\xFC!\r\naol=0\r\naim=1\r\n";
    ASSERT_TRUE(WaitUntil([&] { return folder.Read("Tobla.ini") == ini; }))  // rewritten in place
        << folder.Read("Tobla.ini");

    tobla.PressEnter(IDC_TEXT1);
    ASSERT_TRUE(WaitUntil([&] { return folder.Read("send.fmt") == "%s\xFC!\r\n"; }));
    EXPECT_EQ(tobla.Text(IDC_TEXT1), "%s\xFC!");  // the key was swallowed
    tobla.Type(IDC_TEXT1, ", %l");
    tobla.PressEnter(IDC_TEXT1);
    ASSERT_TRUE(
        WaitUntil([&] { return folder.Read("send.fmt") == "%s\xFC!\r\n\"%s\xFC!, %l\"\r\n"; }));
    tobla.PressEnter(IDC_TEXT1);  // already in the list: nothing added
    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    ASSERT_TRUE(tobla.WaitForExit());
    EXPECT_EQ(folder.Read("send.fmt"), "%s\xFC!\r\n\"%s\xFC!, %l\"\r\n");

    // A restart loads the list as it was typed, and the stored settings.
    ToblaProcess again(folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(again.CheckState(IDC_CHECK1), BST_UNCHECKED);
    EXPECT_EQ(again.CheckState(IDC_CHECK2), BST_CHECKED);
    EXPECT_EQ(again.Text(IDC_TEXT1), "%s\xFC!, %l");
    EXPECT_EQ(SendMessageA(again.Control(IDC_TEXT1), CB_GETCOUNT, 0, 0), 2);

    // Enter on the open list takes the highlighted entry and closes the list; a
    // choice from the list is not typing, so "format" keeps the typed template.
    HWND text1 = again.Control(IDC_TEXT1);
    SendMessageA(text1, CB_SHOWDROPDOWN, TRUE, 0);
    for (int entry = 0; entry < 2; ++entry)
        PostMessageA(GetWindow(text1, GW_CHILD), WM_KEYDOWN, VK_UP, 1);
    again.PressEnter(IDC_TEXT1);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(text1, CB_GETDROPPEDSTATE, 0, 0) == FALSE; }));
    EXPECT_EQ(again.Text(IDC_TEXT1), "%s\xFC!");
    EXPECT_NE(folder.Read("Tobla.ini").find("format=%s\xFC!, %l\r\n"), std::string::npos);
}

// The notice of a log link stays for about a second, then the link's caption is back.
TEST(Program, NoLogNoticeStaysForAboutASecond) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.SendCommand(IDC_LABEL5, STN_CLICKED);
    ASSERT_TRUE(WaitUntil([&] { return tobla.Text(IDC_LABEL5) == "No Log Found!"; }, 5000));
    const DWORD shown = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return tobla.Text(IDC_LABEL5) == "View Today's Log"; }, 5000));
    const DWORD lasted = GetTickCount() - shown;
    EXPECT_GE(lasted, 480u);
    EXPECT_LE(lasted, 5000u);  // loose: a busy machine delays the end, not the start
}

TEST(Program, StoredFontAndColourComeBack) {
    const std::string face = SomeInstalledFace();
    ASSERT_FALSE(face.empty());
    ProgramFolder folder;
    folder.Write("Tobla.ini", "[Tobla]\r\nfont=" + face + "\r\ncolor=255\r\naol=2\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    EXPECT_EQ(tobla.Text(IDC_COMBO1), face);
    EXPECT_NE(SendMessageA(tobla.Control(IDC_COMBO1), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(tobla.CheckState(IDC_CHECK1), BST_INDETERMINATE);
    EXPECT_TRUE(
        WaitUntil([&] { return PixelOf(tobla.Control(IDC_PICTURE1)) == RGB(255, 0, 0); }, 3000))
        << std::hex << PixelOf(tobla.Control(IDC_PICTURE1));
    // The stored grey state wrote itself back; the stored template was absent.
    EXPECT_NE(folder.Read("Tobla.ini").find("aol=2\r\n"), std::string::npos);
    EXPECT_NE(folder.Read("Tobla.ini").find("format=%s - ( %l / %b )"), std::string::npos);

    std::string otherCase = face;
    for (char& c : otherCase)
        c = static_cast<char>(islower(static_cast<unsigned char>(c)) ? toupper(c) : tolower(c));
    folder.Write("Tobla.ini", "[Tobla]\r\nfont=" + otherCase + "\r\n");
    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    ASSERT_TRUE(tobla.WaitForExit());
    ToblaProcess again(folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(again.Text(IDC_COMBO1), "Combo1");
    EXPECT_EQ(SendMessageA(again.Control(IDC_COMBO1), CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST(Program, CloseAndMinimiseHideTheTrayShowsAndExitEnds) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Post(WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tobla.Visible(); }));
    EXPECT_TRUE(IsWindow(tobla.Window()));
    tobla.Post(kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return tobla.Visible(); }));
    tobla.Post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tobla.Visible(); }));
    tobla.Post(kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return tobla.Visible(); }));
    EXPECT_FALSE(IsIconic(tobla.Window()));
    // A single click on the icon does nothing; pointer movements never open the menu.
    tobla.Post(kTrayCallbackMessage, 1, WM_LBUTTONUP);
    for (int x : {3, 5, 259, 261})
        PostMessageA(tobla.Control(IDC_LABEL9), WM_MOUSEMOVE, 0, MAKELPARAM(x, 2)),
            tobla.Post(WM_MOUSEMOVE, 0, MAKELPARAM(x, 2));
    ASSERT_TRUE(tobla.Settle());
    EXPECT_FALSE(PopupMenuShown());

    EXPECT_TRUE(TrayMenuOpens(tobla));
    tobla.Post(WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tobla.Visible(); }));
    EXPECT_TRUE(TrayMenuOpens(tobla));
    tobla.Post(WM_COMMAND, IDM_SHOWHIDE, 0);
    ASSERT_TRUE(WaitUntil([&] { return tobla.Visible(); }));

    tobla.Post(WM_COMMAND, IDM_CLOSE, 0);  // Close in the icon's menu runs Exit
    EXPECT_TRUE(tobla.WaitForExit());
}

RECT PlaceOf(const ToblaProcess& tobla) {
    RECT place{};
    GetWindowRect(tobla.Window(), &place);
    return place;
}

void Move(const ToblaProcess& tobla, int left, int top) {
    SetWindowPos(tobla.Window(), nullptr, left, top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window opens where it was after the user's last move, or where it was when Tobla
// ended; a stored place off every screen opens at the nearest place on one.
TEST(Program, TheWindowOpensWhereItWasLeftAndOnAScreen) {
    ProgramFolder folder;
    {
        ToblaProcess tobla(folder);
        ASSERT_TRUE(tobla.Started());
        Move(tobla, 200, 150);
        tobla.Post(WM_EXITSIZEMOVE, 0, 0);  // the end of a move by the user
        ASSERT_TRUE(WaitUntil([&] {
            return folder.Read("Tobla.ini").find("left=200\r\ntop=150\r\n") != std::string::npos;
        })) << folder.Read("Tobla.ini");
        Move(tobla, 230, 170);
        tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
        ASSERT_TRUE(tobla.WaitForExit());
    }
    {
        ToblaProcess tobla(folder);
        ASSERT_TRUE(tobla.Started());
        EXPECT_EQ(PlaceOf(tobla).left, 230);
        EXPECT_EQ(PlaceOf(tobla).top, 170);
    }
    folder.Write("Tobla.ini", "[Tobla]\r\nleft=30000\r\ntop=-30000\r\n");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    RECT place = PlaceOf(tobla);
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTONULL), &screen));
    EXPECT_EQ(place.right, screen.rcWork.right);
    EXPECT_EQ(place.top, screen.rcWork.top);
}

TEST(Program, ASecondStartShowsTheRunningWindowAndEnds) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    tobla.Post(WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !tobla.Visible(); }));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION second{};
    std::string commandLine = "\"" + folder.File("Tobla.exe") + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &second));
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    EXPECT_TRUE(WaitUntil([&] { return tobla.Visible(); }));
    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    EXPECT_TRUE(tobla.WaitForExit());
}

}  // namespace
}  // namespace tobla::e2e

namespace tobla::e2e {
namespace {

HWND ColorDialog() { return FindWindowA(nullptr, "Choose a Color"); }

TEST(Program, FontAndColourChosenInTheWindowAreStored) {
    ProgramFolder folder;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    HWND fonts = tobla.Control(IDC_COMBO1);
    // A face of ordinary height: the template box takes the face, and a tall one (a
    // maths face) makes it grow over the swatch whose pixel is read below.
    const LRESULT tahoma =
        SendMessageA(fonts, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Tahoma"));
    ASSERT_NE(tahoma, CB_ERR);
    SendMessageA(fonts, CB_SETCURSEL, tahoma, 0);
    const std::string face = tobla.Text(IDC_COMBO1);
    ASSERT_FALSE(face.empty());
    tobla.SendCommand(IDC_COMBO1, CBN_SELCHANGE);
    ASSERT_TRUE(WaitUntil([&] {
        return folder.Read("Tobla.ini").find("font=" + face + "\r\n") != std::string::npos;
    })) << face
        << " / " << folder.Read("Tobla.ini");

    // Cancelling the dialog changes nothing; confirming a colour stores it.
    tobla.SendCommand(IDC_PICTURE1, STN_CLICKED);
    ASSERT_TRUE(WaitUntil([] { return ColorDialog() != nullptr; }));
    PostMessageA(ColorDialog(), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([] { return ColorDialog() == nullptr; }));
    EXPECT_EQ(folder.Read("Tobla.ini").find("color="), std::string::npos);
    tobla.SendCommand(IDC_PICTURE1, STN_CLICKED);
    ASSERT_TRUE(WaitUntil([] { return ColorDialog() != nullptr; }));
    const int kRed = 706, kGreen = 707, kBlue = 708;  // the dialog's own value boxes
    for (auto [id, value] :
         {std::pair{kRed, "0"}, std::pair{kGreen, "128"}, std::pair{kBlue, "255"}})
        SendMessageA(GetDlgItem(ColorDialog(), id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
    PostMessageA(ColorDialog(), WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return folder.Read("Tobla.ini").find("color=") != std::string::npos; }));
    EXPECT_NE(folder.Read("Tobla.ini").find("color=16744448\r\n"), std::string::npos)
        << folder.Read("Tobla.ini");
    EXPECT_TRUE(
        WaitUntil([&] { return PixelOf(tobla.Control(IDC_PICTURE1)) == RGB(0, 128, 255); }, 3000));

    tobla.SendCommand(IDC_LABEL6, STN_CLICKED);
    ASSERT_TRUE(tobla.WaitForExit());
    ToblaProcess again(folder);
    ASSERT_TRUE(again.Started());
    EXPECT_EQ(again.Text(IDC_COMBO1), face);
    EXPECT_TRUE(
        WaitUntil([&] { return PixelOf(again.Control(IDC_PICTURE1)) == RGB(0, 128, 255); }, 3000));
}

}  // namespace
}  // namespace tobla::e2e
