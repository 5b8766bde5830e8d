#include "win32/FrmMain.h"

#include <commctrl.h>
#include <commdlg.h>

#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/Settings.h"
#include "core/Template.h"
#include "win32/ControlIds.h"

namespace tobla {
namespace {

constexpr const char* kCaption = "Tobla - Winamp tracks for AOL and AIM chats";
constexpr const char* kInitialTemplate = "%s [ %l / %b ]";
constexpr int kClientWidthTwips = 5850, kClientHeightTwips = 1635;
constexpr int kFrameLeft = 60, kFrameTop = 15;
constexpr int kDropDownExtraTwips = 2400;  // the open list of a combo box
constexpr COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);
// Sizes in hundredths of a point: 825 is 8.25 pt.
constexpr int kPointSize = 825, kSmallPointSize = 675;
constexpr const char* kLogTip = " Open log of songs you've played, with date and timestamp. ";

enum class FontKind { Window, Tahoma, TahomaSmall };
enum class Ink { Standard, Blue, Black };

HFONT MakeFont(const char* face, int hundredthsOfPoint) {
    const int height = -MulDiv(hundredthsOfPoint, GetDeviceCaps(ScreenDC(), LOGPIXELSY), 7200);
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

// A group box drawn in a visual style takes its caption's colour from the style (blue
// in those of XP, Vista and 7), whatever WM_CTLCOLORSTATIC sets; Frame1's caption is in
// the standard colour, so the frame is drawn the classic way. uxtheme.dll is in the
// process only when visual styles are, the one case to undo.
void DrawUnstyled(HWND control) {
    HMODULE uxtheme = GetModuleHandleA("uxtheme.dll");
    if (!uxtheme) return;
    using SetWindowTheme = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
    const auto setTheme = reinterpret_cast<SetWindowTheme>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setTheme) setTheme(control, L"", L"");
}

frmMain* FormOf(HWND window) {
    return reinterpret_cast<frmMain*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The system lists a face once for every character set it covers, those entries one
// after another; the font list takes each face once, which spares start-up the
// sorted insertion and the removal of every repeat.
struct FaceCollector {
    ComboList& list;
    std::string last;
};

int CALLBACK CollectFontFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM collector) {
    auto& faces = *reinterpret_cast<FaceCollector*>(collector);
    if (faces.last != font->lfFaceName) {
        faces.last = font->lfFaceName;
        faces.list.Append(faces.last);
    }
    return 1;
}

// The colour dialog's library is loaded when the dialog is first asked for, not with
// the program: most runs never open it, and loading it slowed every start. It is one
// of the system's known libraries, so it always comes from the system folder.
BOOL ShowColorDialog(CHOOSECOLORA& dialog) {
    using ChooseColorFunction = BOOL(WINAPI*)(CHOOSECOLORA*);
    HMODULE library = GetModuleHandleA("comdlg32.dll");
    if (!library) library = LoadLibraryA("comdlg32.dll");  // kept for the rest of the run
    const auto choose = library ? reinterpret_cast<ChooseColorFunction>(reinterpret_cast<void*>(
                                      GetProcAddress(library, "ChooseColorA")))
                                : nullptr;
    return choose && choose(&dialog);
}

// The colour dialog has no title field: its hook names it.
UINT_PTR CALLBACK NameColorDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) SetWindowTextA(dialog, "Choose a Color");
    return 0;
}

}  // namespace

// One control of the window: where it goes, how it looks, and what a click on it
// does (a label that is a link, or the colour swatch: both show the hand cursor).
struct frmMain::ControlLayout {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int left, top, width, height;  // twips; inside Frame1 when inFrame
    bool inFrame;
    FontKind font;
    Ink ink;
    const char* tooltip;
    void (frmMain::*onClick)();
};

// The table's 780 twips would take Label2 30 twips into Combo1, where it painted over
// the list's border: it ends where the list begins. Label9's 240 would reach 15 twips
// below the client area: it ends at the area's bottom.
constexpr int kLabel2Width = 3015 - 2265;
constexpr int kLabel9Height = kClientHeightTwips - 1410;

// In tab order; the window's z-order follows creation order. Every label is one line:
// a caption a little too wide for its box loses a pixel at its end, never a word.
const frmMain::ControlLayout frmMain::kLayout[] = {
    {IDC_FRAME1, "BUTTON", "Send Format", BS_GROUPBOX, 60, 15, 5730, 975, false, FontKind::Tahoma, Ink::Standard, nullptr, nullptr},
    {IDC_CHECK1, "BUTTON", "AOL", BS_3STATE | WS_TABSTOP, 75, 1050, 810, 255, false, FontKind::Tahoma, Ink::Standard,
     " Check off this box if you want to send titles to AOL chats. ", nullptr},
    {IDC_CHECK2, "BUTTON", "AIM", BS_3STATE | WS_TABSTOP, 1110, 1050, 825, 255, false, FontKind::Tahoma, Ink::Standard,
     " Check off this box if you want to send titles to AIM chats. ", nullptr},
    {IDC_LABEL1, "STATIC", "Modifiers - %b, %s, %l, %p, %c", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 90, 600, 2835, 285, true, FontKind::Tahoma, Ink::Standard,
     "%b = bitrate, %s = song title, %l = length, %p = song number, %c = list count", nullptr},
    {IDC_COMBO1, "COMBOBOX", "Combo1", CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 3015, 1020, 2760, 330, false,
     FontKind::Window, Ink::Standard, nullptr, nullptr},
    {IDC_LABEL2, "STATIC", "Font -", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 2265, 1080, kLabel2Width, 180, false, FontKind::Window, Ink::Standard, nullptr, nullptr},
    {IDC_LABEL3, "STATIC", "Color - ", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 3255, 600, 615, 225, true, FontKind::Tahoma, Ink::Standard, nullptr, nullptr},
    {IDC_PICTURE1, "STATIC", "", SS_NOTIFY, 3870, 600, 1740, 240, true, FontKind::Tahoma, Ink::Standard, nullptr, &frmMain::OnColorChoice},
    {IDC_LABEL4, "STATIC", "Label4", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1965, 1740, 75, 45, false, FontKind::Window, Ink::Standard, nullptr, nullptr},
    {IDC_LABEL5, "STATIC", "View Today's Log", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 2490, 1380, 1470, 255, false, FontKind::Tahoma, Ink::Blue, kLogTip,
     &frmMain::OnViewTodaysLog},
    {IDC_LABEL6, "STATIC", "Exit", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 5295, 1380, 435, 240, false, FontKind::Tahoma, Ink::Blue,
     " Click here to exit, titlebar controls will only minimize Tobla. ", &frmMain::Exit},
    {IDC_LABEL7, "STATIC", "All Logs", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 4245, 1380, 660, 255, false, FontKind::Tahoma, Ink::Blue, kLogTip,
     &frmMain::OnViewAllLogs},
    {IDC_LABEL8, "STATIC", "//", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 4005, 1365, 180, 255, false, FontKind::Tahoma, Ink::Black, kLogTip, nullptr},
    {IDC_TEXT1, "COMBOBOX", kInitialTemplate, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 75, 225, 5535, 330, true,
     FontKind::Window, Ink::Standard, nullptr, nullptr},
    {IDC_LABEL9, "STATIC", "Winamp 2/3 ; AOL/AIM 32-bit", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 90, 1410, 2310, kLabel9Height, false, FontKind::TahomaSmall, Ink::Black,
     nullptr, nullptr},
};

const frmMain::ControlLayout* frmMain::LayoutOf(int id) {
    for (const auto& layout : kLayout)
        if (layout.id == id) return &layout;
    return nullptr;
}

frmMain::frmMain(HINSTANCE instance, Services services)
    : instance_(instance),
      services_(std::move(services)),
      settingsFile_(services_.programFolder + kSettingsFileName),
      templateListFile_(services_.programFolder + kTemplateListFileName),
      swatchColor_(GetSysColor(COLOR_WINDOW)),
      templateTextColor_(GetSysColor(COLOR_WINDOWTEXT)) {}

frmMain::~frmMain() {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(windowFont_), static_cast<HGDIOBJ>(tahomaFont_),
                           static_cast<HGDIOBJ>(smallFont_), static_cast<HGDIOBJ>(templateFont_),
                           static_cast<HGDIOBJ>(swatchBrush_)})
        if (object) DeleteObject(object);
    if (menu_) DestroyMenu(menu_);
}

int frmMain::Px(int twips, bool vertical) const {
    return MulDiv(twips, vertical ? dpiY_ : dpiX_, 1440);
}

// --- Making the window ----------------------------------------------------------

bool frmMain::Load(PollCycle& cycle) {
    cycle_ = &cycle;
    // The system's DPI stays for the run: asked once, not for every coordinate.
    const ScreenDC screen;
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    if (!RegisterAndCreateWindow()) return false;
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    CreateFonts();
    CreateTooltips();
    for (const auto& layout : kLayout) CreateControl(layout);
    fontList_.Attach(Control(IDC_COMBO1));
    templateList_.Attach(Control(IDC_TEXT1));
    CatchEnterInTemplateBox();
    CreateMenu();
    SetTimer(window_, IDT_TIMER1, 1, nullptr);
    StartUp();
    return true;
}

bool frmMain::RegisterAndCreateWindow() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &frmMain::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = icons_.Large();
    wc.hIconSm = icons_.Small();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Px(kClientWidthTwips, false), Px(kClientHeightTwips, true)};
    AdjustWindowRectEx(&frame, style, /*bMenu=*/FALSE, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_TOPMOST, kClassName, kCaption, style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

void frmMain::CreateFonts() {
    windowFont_ = MakeFont("Arial", kPointSize);
    tahomaFont_ = MakeFont("Tahoma", kPointSize);
    smallFont_ = MakeFont("Tahoma", kSmallPointSize);
}

void frmMain::CreateTooltips() {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               window_, nullptr, instance_, nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void frmMain::CreateControl(const ControlLayout& c) {
    const int left = c.left + (c.inFrame ? kFrameLeft : 0);
    const int top = c.top + (c.inFrame ? kFrameTop : 0);
    const bool combo = std::string(c.className) == "COMBOBOX";
    const int height = c.height + (combo ? kDropDownExtraTwips : 0);
    // Both edges from twips: neighbours that meet in the table meet on the screen.
    const int x = Px(left, false), y = Px(top, true);
    HWND control = CreateWindowExA(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, x, y,
                                   Px(left + c.width, false) - x, Px(top + height, true) - y,
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   instance_, nullptr);
    const HFONT font = c.font == FontKind::Window   ? windowFont_
                       : c.font == FontKind::Tahoma ? tahomaFont_
                                                    : smallFont_;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (combo) SetWindowTextA(control, c.text);  // a combo box ignores its creation text
    if (c.id == IDC_FRAME1) DrawUnstyled(control);
    if (c.tooltip) AddTooltip(control, c.tooltip);
}

void frmMain::AddTooltip(HWND control, const char* text) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;  // accepted by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// Enter in the template box reaches the box's edit field, where it is caught.
void frmMain::CatchEnterInTemplateBox() {
    HWND edit = GetWindow(Control(IDC_TEXT1), GW_CHILD);
    SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    templateEditBase_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::TemplateEditProc)));
}

void frmMain::CreateMenu() {
    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, IDM_SHOWHIDE, "&Show Tobla");
    AppendMenuA(menu_, MF_SEPARATOR, 0, "-");
    AppendMenuA(menu_, MF_STRING, IDM_CLOSE, "&Close Tobla");
}

// --- Start-up -------------------------------------------------------------------------

// Each step stands alone: one that fails is skipped.
void frmMain::StartUp() {
    Guarded([&] { SetTopmost(window_); });
    Guarded([&] { cycle_->SetLastAnnouncedTitle(services_.player.SongTitle()); });
    Guarded([&] { LoadStoredColor(); });
    Guarded([&] { LoadStoredCheckState(IDC_CHECK1, "aol"); });
    Guarded([&] { LoadStoredCheckState(IDC_CHECK2, "aim"); });
    Guarded([&] { LoadStoredTemplate(); });
    Guarded([&] { LoadFonts(); });
    Guarded([&] { winampApi::RemoveDuplicates(fontList_, services_.yielder, services_.cases); });
    Guarded([&] { SelectStoredFont(); });
    Guarded([&] { LoadTemplateList(); });
    Guarded([&] { tray_.Add(window_, icons_.Small()); });
    ShowWindow(window_, SW_SHOW);
}

void frmMain::LoadStoredColor() {
    const std::string color = Read("color");
    if (color.empty()) return;
    // A value the swatch refuses leaves both the swatch and the template box's ink
    // as they are: the box taking the swatch's window colour would draw its text in
    // the colour of its own background.
    const std::int32_t value = RoundHalfEven32(NumericPrefix(color));
    if (value < 0 || value > 0xFFFFFF) return;
    SetSwatchColor(static_cast<COLORREF>(value));
    templateTextColor_ = swatchColor_;
    InvalidateRect(Control(IDC_TEXT1), nullptr, TRUE);
}

void frmMain::LoadStoredCheckState(int id, const char* key) {
    const std::string state = Read(key);
    if (state.empty()) return;
    // A state is held in 16 bits; one that does not fit leaves the box alone.
    const std::int32_t value = RoundHalfEven32(NumericPrefix(state));
    if (value >= -32768 && value <= 32767) SetCheckState(id, value);
}

void frmMain::LoadStoredTemplate() {
    const std::string stored = Read("format");
    const std::string text = stored.empty() ? std::string(DefaultTemplate) : stored;
    if (text != TemplateText()) SetTemplateText(text);
}

void frmMain::LoadFonts() {
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;  // every face, whatever its character sets
    FaceCollector faces{fontList_, {}};
    HDC dc = GetDC(window_);
    EnumFontFamiliesExA(dc, &all, reinterpret_cast<FONTENUMPROCA>(&CollectFontFace),
                        reinterpret_cast<LPARAM>(&faces), 0);
    ReleaseDC(window_, dc);
}

void frmMain::SelectStoredFont() {
    if (Read("font").empty()) return;
    for (int i = 0; i < fontList_.Count(); ++i)
        if (fontList_.Entry(i) == Read("font"))
            SendMessageA(Control(IDC_COMBO1), msg::kComboSetCurSel, i, 0);
    SetTemplateFontFace(FontFace());
}

void frmMain::LoadTemplateList() {
    if (services_.files.FileExists(templateListFile_))
        toolkit::LoadListFromFile(templateListFile_, templateList_, services_.files,
                                  services_.yielder);
}

// --- What the poll cycle reads and sets ---------------------------------------

bool frmMain::AolTicked() { return CheckState(Control(IDC_CHECK1)) != BST_UNCHECKED; }
bool frmMain::AimTicked() { return CheckState(Control(IDC_CHECK2)) != BST_UNCHECKED; }
std::string frmMain::FontFace() { return WindowTextOf(Control(IDC_COMBO1)); }
std::string frmMain::TemplateText() { return WindowTextOf(Control(IDC_TEXT1)); }

void frmMain::SetTemplateText(const std::string& text) {
    SetWindowTextA(Control(IDC_TEXT1), text.c_str());
    OnTemplateChange();
}

void frmMain::ShowLastTitle(const std::string& title) {
    SetWindowTextA(Control(IDC_LABEL4), title.c_str());
}

// --- Window procedures ----------------------------------------------------------------

LRESULT CALLBACK frmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    frmMain* form = FormOf(window);
    if (!form) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return form->Handle(message, wParam, lParam);
    } catch (...) {
        return 0;  // nothing crosses the window procedure
    }
}

// The window's messages, each to its named handler.
LRESULT frmMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    switch (message) {
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC: return OnControlColor(dc, control);
    case WM_CTLCOLOREDIT:
        if (GetParent(control) != Control(IDC_TEXT1)) break;
        return OnEditColor(dc);
    case WM_SETCURSOR:
        if (!OnSetCursor(reinterpret_cast<HWND>(wParam))) break;
        return TRUE;
    case kTrayCallbackMessage: OnTrayNotify(static_cast<UINT>(lParam)); return 0;
    case WM_SYSCOMMAND:
        if (!OnSysCommand(wParam)) break;
        return 0;
    case WM_SIZE: OnSize(wParam); return 0;
    case WM_CLOSE: ShowWindow(window_, SW_HIDE); return 0;  // closing only hides
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
    case WM_DESTROY: StopPollingAndRemoveIcon(); return 0;  // the icon goes with the window
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.AddAgain();  // the shell restarted: the icon comes back
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK frmMain::TemplateEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    frmMain* form = FormOf(edit);
    const bool enter = wParam == VK_RETURN;
    if (message == WM_GETDLGCODE && lParam && enter &&
        reinterpret_cast<MSG*>(lParam)->message != WM_KEYUP)
        return CallWindowProcA(form->templateEditBase_, edit, message, wParam, lParam) | DLGC_WANTMESSAGE;
    // The typed Enter is swallowed (no beep, nothing reaches the box), but the key
    // goes on, so Enter on the open list closes it with its highlighted entry, as a
    // combo box does: on the key, or (Wine) on the character, which then goes on too.
    if (message == WM_CHAR && wParam == '\r') {
        if (SendMessageA(GetParent(edit), CB_GETDROPPEDSTATE, 0, 0))
            CallWindowProcA(form->templateEditBase_, edit, message, wParam, lParam);
        Guarded([&] { form->OnTemplateEnter(); });
        return 0;
    }
    return CallWindowProcA(form->templateEditBase_, edit, message, wParam, lParam);
}

// --- Messages ---------------------------------------------------------------------------

void frmMain::OnTimer(WPARAM timer) {
    if (timer == IDT_TIMER1) cycle_->Tick();
}

void frmMain::OnCommand(int id, int code) {
    if ((id == IDC_CHECK1 || id == IDC_CHECK2) && code == BN_CLICKED) {
        Check(Control(id), CheckState(Control(id)) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        OnCheckClick(id);
    } else if (id == IDC_COMBO1 && code == CBN_SELCHANGE) {
        OnFontChoice();
    } else if (id == IDC_TEXT1 && code == CBN_EDITCHANGE) {
        OnTemplateChange();
    } else if (id == IDM_CLOSE) {
        Exit();
    } else if (id == IDM_SHOWHIDE) {
        OnShowHide();
    } else if (const ControlLayout* layout = LayoutOf(id); layout && layout->onClick &&
                                                           code == STN_CLICKED) {
        (this->*layout->onClick)();
    }
}

LRESULT frmMain::OnControlColor(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == IDC_PICTURE1 && swatchBrush_) return reinterpret_cast<LRESULT>(swatchBrush_);
    if (id == IDC_PICTURE1) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    const ControlLayout* layout = LayoutOf(id);
    const Ink ink = layout ? layout->ink : Ink::Standard;
    SetTextColor(dc, ink == Ink::Blue    ? kBlue
                     : ink == Ink::Black ? kBlack
                                         : GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT frmMain::OnEditColor(HDC dc) {
    SetTextColor(dc, templateTextColor_);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// The controls that answer a click show the hand cursor.
bool frmMain::OnSetCursor(HWND control) {
    const ControlLayout* layout = LayoutOf(GetDlgCtrlID(control));
    if (!layout || !layout->onClick) return false;
    SetCursor(LoadCursorA(nullptr, IDC_HAND));
    return true;
}

void frmMain::OnTrayNotify(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowWindow(window_, SW_SHOW);
    } else if (mouseMessage == WM_RBUTTONUP) {
        ModifyMenuA(menu_, IDM_SHOWHIDE, MF_BYCOMMAND | MF_STRING, IDM_SHOWHIDE,
                    IsWindowVisible(window_) ? "&Hide Tobla" : "&Show Tobla");
        POINT at;
        GetCursorPos(&at);
        // The menu closes on a click elsewhere only when the window is in front.
        SetForegroundWindow(window_);
        TrackPopupMenu(menu_, TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
        PostMessageA(window_, WM_NULL, 0, 0);
    }
}

// Minimising hides the window, which stays in the normal state.
bool frmMain::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != SC_MINIMIZE) return false;
    ShowWindow(window_, SW_HIDE);
    return true;
}

void frmMain::OnSize(WPARAM kind) {
    if (kind != SIZE_MINIMIZED) return;
    ShowWindow(window_, SW_RESTORE);
    ShowWindow(window_, SW_HIDE);
}

// Logoff and shutdown are not held up; the icon goes with the session.
void frmMain::OnEndSession(bool ending) {
    if (ending) tray_.Remove(window_);
}

// --- Handlers of the controls and the menu ------------------------------------------------

void frmMain::SetCheckState(int id, int state) {
    if (state < BST_UNCHECKED || state > BST_INDETERMINATE) return;  // the box refuses it
    if (CheckState(Control(id)) == state) return;
    Check(Control(id), state);
    OnCheckClick(id);
}

void frmMain::OnCheckClick(int id) {
    SetFocus(Control(IDC_COMBO1));
    Write(id == IDC_CHECK1 ? "aol" : "aim", std::to_string(CheckState(Control(id))));
}

void frmMain::OnFontChoice() {
    const LRESULT index = SendMessageA(Control(IDC_COMBO1), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const std::string face = fontList_.Entry(static_cast<int>(index));
    Write("font", face);
    SetTemplateFontFace(face);
}

void frmMain::OnColorChoice() {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.rgbResult = lastConfirmedColor_;
    dialog.lpCustColors = customColors_;
    dialog.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    dialog.lpfnHook = &NameColorDialog;
    if (!ShowColorDialog(dialog)) return;  // cancelled: nothing changes
    lastConfirmedColor_ = dialog.rgbResult;
    Guarded([&] { SetSwatchColor(dialog.rgbResult); });
    Guarded([&] {
        templateTextColor_ = dialog.rgbResult;
        InvalidateRect(Control(IDC_TEXT1), nullptr, TRUE);
    });
    Guarded([&] { Write("color", std::to_string(static_cast<std::int32_t>(dialog.rgbResult))); });
}

void frmMain::OnTemplateChange() { Write("format", TemplateText()); }

void frmMain::OnTemplateEnter() {
    const std::string text = TemplateText();
    if (toolkit::IsInList(templateList_, text, services_.cases)) return;
    templateList_.Append(text);
    toolkit::SaveListToFile(templateListFile_, templateList_, services_.files);
}

void frmMain::OnViewTodaysLog() {
    services_.logCommands.ViewTodaysLog([this](const std::string& caption) {
        SetWindowTextA(Control(IDC_LABEL5), caption.c_str());
    });
}

void frmMain::OnViewAllLogs() {
    services_.logCommands.ViewAllLogs([this](const std::string& caption) {
        SetWindowTextA(Control(IDC_LABEL7), caption.c_str());
    });
}

void frmMain::OnShowHide() { ShowWindow(window_, IsWindowVisible(window_) ? SW_HIDE : SW_SHOW); }

void frmMain::Exit() {
    StopPollingAndRemoveIcon();
    ExitProcess(0);
}

void frmMain::StopPollingAndRemoveIcon() {
    KillTimer(window_, IDT_TIMER1);
    tray_.Remove(window_);
}

void frmMain::SetSwatchColor(COLORREF color) {
    swatchColor_ = color;
    if (swatchBrush_) DeleteObject(swatchBrush_);
    swatchBrush_ = CreateSolidBrush(color);
    InvalidateRect(Control(IDC_PICTURE1), nullptr, TRUE);
}

void frmMain::SetTemplateFontFace(const std::string& face) {
    HFONT font = MakeFont(face.c_str(), kPointSize);
    SendMessageA(Control(IDC_TEXT1), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (templateFont_) DeleteObject(templateFont_);
    templateFont_ = font;
}

std::string frmMain::Read(const char* key) {
    return services_.settings.GetFromIni(kSettingsSection, key, settingsFile_);
}

void frmMain::Write(const char* key, const std::string& value) {
    services_.settings.WriteToIni(kSettingsSection, key, value, settingsFile_);
}

}  // namespace tobla
