#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "PeerThread.h"
#include "core/Text.h"
#include "win32/App.h"
#include "win32/ControlIds.h"

namespace tobla {
namespace {

int ScreenDpi(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi;
}

BOOL CALLBACK FindTooltips(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == TOOLTIPS_CLASSA) *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

// The main window opened in-process on a fresh program folder, so its controls'
// fonts, colours and tooltips can be read back.
class MainWindowTest : public ::testing::Test {
protected:
    // Unique per fixture: two fixtures can be made within one tick of the clock.
    static std::string FreshFolder() {
        static int made = 0;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string folder = std::string(temp) + "tobla-window-" +
                             std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }
    void SetUp() override { ASSERT_TRUE(app.Start()); }
    void TearDown() override {
        DestroyWindow(form.Window());
        DeleteFileA((folder + "\\Tobla.ini").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    HWND Control(int id) { return GetDlgItem(form.Window(), id); }
    LOGFONTA FontOf(int id) {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font;
    }
    // The face the system really draws with when asked for the control's font.
    std::string RealFaceOf(int id) {
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0)));
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc, sizeof face, face);
        DeleteDC(dc);
        return face;
    }
    COLORREF InkOf(int id) {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageA(form.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(id)));
        const COLORREF ink = GetTextColor(dc);
        DeleteDC(dc);
        return ink;
    }

    std::string folder = FreshFolder();
    App app{GetModuleHandleA(nullptr), folder};
    frmMain& form = app.Form();
};

TEST_F(MainWindowTest, FontsInksAndTabOrder) {
    for (int id : {IDC_COMBO1, IDC_TEXT1, IDC_LABEL2, IDC_LABEL4})
        EXPECT_STREQ(FontOf(id).lfFaceName, "Arial") << id;
    for (int id :
         {IDC_FRAME1, IDC_CHECK1, IDC_CHECK2, IDC_LABEL1, IDC_LABEL5, IDC_LABEL6, IDC_LABEL8})
        EXPECT_STREQ(FontOf(id).lfFaceName, "Tahoma") << id;
    EXPECT_EQ(FontOf(IDC_LABEL5).lfWeight, FW_BOLD);
    EXPECT_EQ(RealFaceOf(IDC_LABEL5), "Tahoma");  // not a stand-in of other widths
    for (int id : {IDC_LABEL1, IDC_LABEL2, IDC_LABEL3, IDC_LABEL5, IDC_LABEL6, IDC_LABEL7,
                   IDC_LABEL8, IDC_LABEL9})
        EXPECT_EQ(GetWindowLongA(Control(id), GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP) << id;
    if (ScreenDpi(LOGPIXELSY) == 96) {  // 8.25 and 6.75 points: 11 and 9 pixels high
        EXPECT_EQ(FontOf(IDC_LABEL5).lfHeight, -11);
        EXPECT_EQ(FontOf(IDC_LABEL9).lfHeight, -9);
    }

    for (int id : {IDC_LABEL5, IDC_LABEL6, IDC_LABEL7}) EXPECT_EQ(InkOf(id), RGB(0, 0, 255)) << id;
    for (int id : {IDC_LABEL8, IDC_LABEL9}) EXPECT_EQ(InkOf(id), RGB(0, 0, 0)) << id;
    EXPECT_EQ(InkOf(IDC_LABEL1), GetSysColor(COLOR_BTNTEXT));

    std::vector<int> order;
    HWND at = Control(IDC_CHECK1);
    for (int i = 0; i < 9; ++i, at = GetNextDlgTabItem(form.Window(), at, FALSE))
        order.push_back(GetDlgCtrlID(at));
    EXPECT_EQ(order, (std::vector<int>{IDC_CHECK1, IDC_CHECK2, IDC_COMBO1, IDC_PICTURE1, IDC_LABEL5,
                                       IDC_LABEL7, IDC_LABEL6, IDC_TEXT1, IDC_CHECK1}));
}

TEST_F(MainWindowTest, TooltipsWordForWord) {
    HWND tips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTooltips, reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    std::map<int, std::string> texts;
    const LRESULT count = SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        SendMessageA(tips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
        texts[GetDlgCtrlID(reinterpret_cast<HWND>(tool.uId))] = text;
    }
    const std::string log = " Open log of songs you've played, with date and timestamp. ";
    EXPECT_EQ(texts,
              (std::map<int, std::string>{
                  {IDC_CHECK1, " Check off this box if you want to send titles to AOL chats. "},
                  {IDC_CHECK2, " Check off this box if you want to send titles to AIM chats. "},
                  {IDC_LABEL1,
                   "%b = bitrate, %s = song title, %l = length, %p = song number, %c = list count"},
                  {IDC_LABEL5, log},
                  {IDC_LABEL6, " Click here to exit, titlebar controls will only minimize Tobla. "},
                  {IDC_LABEL7, log},
                  {IDC_LABEL8, log}}));
}

int CALLBACK CollectLowercaseFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM faces) {
    reinterpret_cast<std::set<std::string>*>(faces)->insert(text::Lowercase(font->lfFaceName));
    return 1;
}

// Every face the system lists, whatever character sets it covers, stands in the font
// list once; faces that differ only in case count as one.
TEST_F(MainWindowTest, FontListHoldsEverySystemFaceOnce) {
    std::set<std::string> system;
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &all, reinterpret_cast<FONTENUMPROCA>(&CollectLowercaseFace),
                        reinterpret_cast<LPARAM>(&system), 0);
    ReleaseDC(nullptr, screen);
    HWND fonts = Control(IDC_COMBO1);
    const int count = static_cast<int>(SendMessageA(fonts, CB_GETCOUNT, 0, 0));
    std::set<std::string> listed;
    for (int i = 0; i < count; ++i) {
        std::string face(static_cast<std::size_t>(SendMessageA(fonts, CB_GETLBTEXTLEN, i, 0)) + 1,
                         '\0');
        SendMessageA(fonts, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face.data()));
        listed.insert(text::Lowercase(face.c_str()));
    }
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(listed, system);
}

// (That the title is kept whole, NULs and all, while the label shows it cut at the
// first NUL is the poll cycle's rule: PollCycleTest.)
TEST_F(MainWindowTest, TitleGoesToLabel4AndTheTemplateToTheSettings) {
    form.ShowLastTitle("Artist - Song");
    char shown[32] = {};
    GetWindowTextA(Control(IDC_LABEL4), shown, sizeof shown);
    EXPECT_STREQ(shown, "Artist - Song");
    EXPECT_EQ(form.TemplateText(), "%s - ( %l / %b )");
    form.SetTemplateText("%s");
    char ini[128] = {};
    GetPrivateProfileStringA("Tobla", "format", "", ini, sizeof ini,
                             (folder + "\\Tobla.ini").c_str());
    EXPECT_STREQ(ini, "%s");
}

// A stored colour that the swatch refuses (a hand edit) must not give the template
// box the swatch's window colour as its ink: white text on white.
class RefusedColourTest : public MainWindowTest {
protected:
    void SetUp() override {
        WritePrivateProfileStringA("Tobla", "color", "16777216", (folder + "\\Tobla.ini").c_str());
        MainWindowTest::SetUp();
    }
};

TEST_F(RefusedColourTest, TemplateKeepsTheWindowTextColour) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(form.Window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(GetWindow(Control(IDC_TEXT1), GW_CHILD)));
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
    DeleteDC(dc);
}

}  // namespace
}  // namespace tobla
