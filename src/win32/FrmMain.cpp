#include "win32/FrmMain.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "core/OperationFailed.h"
#include "core/Settings.h"
#include "core/StoredValues.h"
#include "core/Template.h"
#include "win32/ClickableLabel.h"
#include "win32/ControlIds.h"
#include "win32/TemplateBox.h"
#include "win32/SystemLibrary.h"
#include "win32/WideText.h"
#include "win32/WindowPlace.h"

namespace tobla {
namespace {

constexpr const wchar_t* kCaption = L"Tobla - Winamp tracks for AOL and AIM chats";
constexpr int kClientWidthTwips = 5850, kClientHeightTwips = 1635;
constexpr int kFrameLeft = 60, kFrameTop = 15;
constexpr int kDropDownExtraTwips = 2400;  // the open list of a combo box
constexpr COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);
// Sizes in hundredths of a point: 825 is 8.25 pt.
constexpr int kPointSize = 825, kSmallPointSize = 675;
// The template box's text from its creation until start-up puts the stored template,
// or the default one, in its place.
constexpr const char* kTemplateBoxCreationText = "%s [ %l / %b ]";
constexpr const char* kAolTip = " Check off this box if you want to send titles to AOL chats. ";
constexpr const char* kAimTip = " Check off this box if you want to send titles to AIM chats. ";
constexpr const char* kModifiersTip =
    "%b = bitrate, %s = song title, %l = length, %p = song number, %c = list count";
constexpr const char* kLogTip = " Open log of songs you've played, with date and timestamp. ";
constexpr const char* kExitTip =
    " Click here to exit, titlebar controls will only minimize Tobla. ";

// Every label is one line: a caption a little too wide for its box loses a pixel at
// its end, never a word. A label takes the mouse (SS_NOTIFY) for a tooltip or a click.
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kMouseLabel = kLabel | SS_NOTIFY;
constexpr DWORD kLink = kMouseLabel | WS_TABSTOP;
constexpr DWORD kDropDown = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;

enum class ControlKind { Button, Static, ComboBox };
enum class Ink { Standard, Blue, Black };

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Button: return L"BUTTON";
    case ControlKind::Static: return L"STATIC";
    case ControlKind::ComboBox: return L"COMBOBOX";
    }
    return L"STATIC";
}

ScopedFont MakeFont(const std::wstring& face, int hundredthsOfPoint, const Dpi& dpi) {
    return ScopedFont(CreateFontW(dpi.FontHeight(hundredthsOfPoint), 0, 0, 0, FW_BOLD, FALSE,
                                  FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

// A group box drawn in a visual style takes its caption's colour from the style (blue
// in those of XP, Vista and 7), whatever WM_CTLCOLORSTATIC sets; Frame1's caption is in
// the standard colour, so the frame is drawn the classic way. uxtheme.dll is in the
// process only when visual styles are, the one case to undo.
void DrawUnstyled(HWND control) {
    const auto setTheme =
        SystemFunction<::SetWindowTheme>(GetModuleHandleA("uxtheme.dll"), "SetWindowTheme");
    if (setTheme) setTheme(control, L"", L"");
}

frmMain* FormOf(HWND window) {
    return reinterpret_cast<frmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

// One control of the window: where it goes, how it looks, and what a click on it
// does (a label that is a link, or the colour swatch: both show the hand cursor).
struct frmMain::ControlLayout {
    struct Twips {
        int left, top, width, height;
    };
    int id;
    ControlKind kind;
    const char* text;  // UTF-8, as every text of the program
    DWORD style;
    Twips place;           // in the window, or in Frame1 when inFrame
    bool inFrame = false;
    FontKind font = FontKind::Tahoma;
    Ink ink = Ink::Standard;
    const char* tooltip = nullptr;
    void (frmMain::*onClick)() = nullptr;
};

// The table's 780 twips would take Label2 30 twips into Combo1, where it painted over
// the list's border: it ends where the list begins. Label9's 240 would reach 15 twips
// below the client area: it ends at the area's bottom. Label1's 2835 and Label5's 1470
// are a pixel or two short of their bold captions at every DPI, which clips a letter at
// 144: they reach into the free room on their right (Label5 up to Label8).
constexpr int kLabel2Width = 3015 - 2265;
constexpr int kLabel9Height = kClientHeightTwips - 1410;

// In tab order; the window's z-order follows creation order. The swatch draws itself;
// it and the links are the controls with a click, which the keyboard reaches too.
const frmMain::ControlLayout frmMain::kLayout[] = {
    {.id = IDC_FRAME1, .kind = ControlKind::Button, .text = "Send Format", .style = BS_GROUPBOX,
     .place = {60, 15, 5730, 975}},
    {.id = IDC_CHECK1, .kind = ControlKind::Button, .text = "AOL", .style = BS_3STATE | WS_TABSTOP,
     .place = {75, 1050, 810, 255}, .tooltip = kAolTip},
    {.id = IDC_CHECK2, .kind = ControlKind::Button, .text = "AIM", .style = BS_3STATE | WS_TABSTOP,
     .place = {1110, 1050, 825, 255}, .tooltip = kAimTip},
    {.id = IDC_LABEL1, .kind = ControlKind::Static, .text = "Modifiers - %b, %s, %l, %p, %c",
     .style = kMouseLabel, .place = {90, 600, 2925, 285}, .inFrame = true,
     .tooltip = kModifiersTip},
    {.id = IDC_COMBO1, .kind = ControlKind::ComboBox, .text = "Combo1",
     .style = kDropDown | CBS_SORT, .place = {3015, 1020, 2760, 330}, .font = FontKind::Window},
    {.id = IDC_LABEL2, .kind = ControlKind::Static, .text = "Font -", .style = kLabel,
     .place = {2265, 1080, kLabel2Width, 180}, .font = FontKind::Window},
    {.id = IDC_LABEL3, .kind = ControlKind::Static, .text = "Color - ", .style = kLabel,
     .place = {3255, 600, 615, 225}, .inFrame = true},
    {.id = IDC_PICTURE1, .kind = ControlKind::Static, .text = "",
     .style = SS_OWNERDRAW | SS_NOTIFY | WS_TABSTOP, .place = {3870, 600, 1740, 240},
     .inFrame = true, .onClick = &frmMain::OnColorChoice},
    {.id = IDC_LABEL4, .kind = ControlKind::Static, .text = "Label4", .style = kLabel,
     .place = {1965, 1740, 75, 45}, .font = FontKind::Window},
    {.id = IDC_LABEL5, .kind = ControlKind::Static, .text = kViewTodaysLogCaption,
     .style = kLink, .place = {2490, 1380, 1515, 255}, .ink = Ink::Blue, .tooltip = kLogTip,
     .onClick = &frmMain::OnViewTodaysLog},
    {.id = IDC_LABEL8, .kind = ControlKind::Static, .text = "//", .style = kMouseLabel,
     .place = {4005, 1365, 180, 255}, .ink = Ink::Black, .tooltip = kLogTip},
    {.id = IDC_LABEL7, .kind = ControlKind::Static, .text = kAllLogsCaption, .style = kLink,
     .place = {4245, 1380, 660, 255}, .ink = Ink::Blue, .tooltip = kLogTip,
     .onClick = &frmMain::OnViewAllLogs},
    {.id = IDC_LABEL6, .kind = ControlKind::Static, .text = "Exit", .style = kLink,
     .place = {5295, 1380, 435, 240}, .ink = Ink::Blue, .tooltip = kExitTip,
     .onClick = &frmMain::Exit},
    {.id = IDC_TEXT1, .kind = ControlKind::ComboBox, .text = kTemplateBoxCreationText,
     .style = kDropDown, .place = {75, 225, 5535, 330}, .inFrame = true, .font = FontKind::Window},
    {.id = IDC_LABEL9, .kind = ControlKind::Static, .text = "Winamp 2/3 ; AOL/AIM 32-bit",
     .style = kLabel, .place = {90, 1410, 2310, kLabel9Height}, .font = FontKind::TahomaSmall,
     .ink = Ink::Black},
};

const frmMain::ControlLayout* frmMain::LayoutOf(int id) {
    for (const auto& layout : kLayout)
        if (layout.id == id) return &layout;
    return nullptr;
}

frmMain::frmMain(HINSTANCE instance, Services services)
    : instance_(instance),
      services_(std::move(services)),
      settings_(services_.settings, services_.programFolder + kSettingsFileName),
      templateListFile_(services_.programFolder + kTemplateListFileName),
      swatchColor_(GetSysColor(COLOR_WINDOW)),
      templateTextColor_(GetSysColor(COLOR_WINDOWTEXT)) {}

// The class holds this window's icons, which go with it: a window made later in the
// process registers the class again with its own.
frmMain::~frmMain() { UnregisterClassW(kClassName, instance_); }

// --- Making the window ----------------------------------------------------------

bool frmMain::Load(PollCycle& cycle) {
    cycle_ = &cycle;
    // The system's DPI stays for the run: asked once, not for every coordinate or font.
    dpi_ = Dpi::OfScreen();
    if (!RegisterAndCreateWindow()) return false;
    services_.pump.NavigateIn(window_);
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    CreateFonts();
    CreateTooltips();
    for (const auto& layout : kLayout) CreateControl(layout);
    fontList_.Attach(Control(IDC_COMBO1));
    templateList_.Attach(Control(IDC_TEXT1));
    CatchEnter(Control(IDC_TEXT1));
    menu_.Create();
    SetTimer(window_, IDT_TIMER1, 1, nullptr);
    StartUp();
    return true;
}

bool frmMain::RegisterAndCreateWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &frmMain::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = icons_.Large();
    wc.hIconSm = icons_.Small();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, dpi_.PixelsAcross(kClientWidthTwips), dpi_.PixelsDown(kClientHeightTwips)};
    AdjustWindowRectEx(&frame, style, /*bMenu=*/FALSE, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_TOPMOST, kClassName, kCaption, style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    return window_ != nullptr;
}

void frmMain::CreateFonts() {
    windowFont_ = MakeFont(L"Arial", kPointSize, dpi_);
    tahomaFont_ = MakeFont(L"Tahoma", kPointSize, dpi_);
    smallFont_ = MakeFont(L"Tahoma", kSmallPointSize, dpi_);
}

HFONT frmMain::FontOf(FontKind kind) const {
    switch (kind) {
    case FontKind::Window: return windowFont_.get();
    case FontKind::Tahoma: return tahomaFont_.get();
    case FontKind::TahomaSmall: return smallFont_.get();
    }
    return nullptr;
}

void frmMain::CreateTooltips() {
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               window_, nullptr, instance_, nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void frmMain::CreateControl(const ControlLayout& c) {
    const int left = c.place.left + (c.inFrame ? kFrameLeft : 0);
    const int top = c.place.top + (c.inFrame ? kFrameTop : 0);
    const bool combo = c.kind == ControlKind::ComboBox;
    const int height = c.place.height + (combo ? kDropDownExtraTwips : 0);
    // Both edges from twips: neighbours that meet in the table meet on the screen.
    const int x = dpi_.PixelsAcross(left), y = dpi_.PixelsDown(top);
    const std::wstring text = Wide(c.text);
    HWND control = CreateWindowExW(
        0, ClassOf(c.kind), text.c_str(), WS_CHILD | WS_VISIBLE | c.style, x, y,
        dpi_.PixelsAcross(left + c.place.width) - x, dpi_.PixelsDown(top + height) - y, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), FALSE);
    if (combo) SetWindowTextW(control, text.c_str());  // a combo box ignores its creation text
    // Before the tooltip subclasses it in turn: each such control then hands on to its
    // class's own procedure.
    if (c.onClick) MakeClickable(control);
    if (c.id == IDC_CHECK1 || c.id == IDC_CHECK2) Subclass(control, &frmMain::CheckBoxProc);
    if (c.id == IDC_FRAME1) DrawUnstyled(control);
    if (c.tooltip) AddTooltip(control, c.tooltip);
}

void frmMain::AddTooltip(HWND control, const char* utf8) {
    const std::wstring text = Wide(utf8);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- Start-up -------------------------------------------------------------------------

// Each step stands alone: one that fails is skipped.
void frmMain::StartUp() {
    Guarded([&] { RestoreWindowPlace(window_, settings_); });
    Guarded([&] { SetTopmost(window_); });
    Guarded([&] { cycle_->SetLastAnnouncedTitle(services_.player.SongTitle()); });
    Guarded([&] { LoadStoredColor(); });
    Guarded([&] { LoadStoredCheckState(IDC_CHECK1, "aol"); });
    Guarded([&] { LoadStoredCheckState(IDC_CHECK2, "aim"); });
    Guarded([&] { LoadStoredTemplate(); });
    Guarded([&] { AppendFontFaces(fontList_, window_); });
    // The list sorts the faces as they come (CBS_SORT): what then stands twice side by
    // side, faces that differ only in case or one the system listed apart, goes.
    Guarded([&] { winampApi::RemoveDuplicates(fontList_, services_.yielder, services_.cases); });
    Guarded([&] { SelectStoredFont(); });
    Guarded([&] { LoadTemplateList(); });
    Guarded([&] { tray_.Add(window_, icons_.Small()); });
    ShowWindow(window_, SW_SHOW);
}

// A value the swatch refuses leaves both the swatch and the template box's ink as they
// are: the box taking the swatch's window colour would draw its text in the colour of
// its own background.
void frmMain::LoadStoredColor() {
    const std::optional<std::int32_t> color = ColorFromSetting(settings_.Read("color"));
    if (!color) return;
    SetSwatchColor(static_cast<COLORREF>(*color));
    templateTextColor_ = swatchColor_;
    InvalidateRect(Control(IDC_TEXT1), nullptr, TRUE);
}

// A stored state differs from the box's unchecked one as a click would change it: the
// click's handling runs.
void frmMain::LoadStoredCheckState(int id, const char* key) {
    const std::optional<std::int32_t> state = CheckStateFromSetting(settings_.Read(key));
    if (!state || CheckState(Control(id)) == *state) return;
    Check(Control(id), *state);
    OnCheckClick(id);
}

void frmMain::LoadStoredTemplate() {
    const std::string stored = settings_.Read("format");
    const std::string text = stored.empty() ? std::string(DefaultTemplate) : stored;
    if (text != TemplateText()) SetTemplateText(text);
}

// "font" is read anew for each entry, as the program always has: a change to the file
// during the loop counts from that entry on. A selection made here is no choice of the
// user's: CB_SETCURSEL tells the window nothing, and "font" is not written back.
void frmMain::SelectStoredFont() {
    if (settings_.Read("font").empty()) return;
    for (int i = 0; i < fontList_.Count(); ++i)
        if (fontList_.Entry(i) == settings_.Read("font"))
            SendMessageW(Control(IDC_COMBO1), CB_SETCURSEL, i, 0);
    SetTemplateFontFace(FontFace());
}

void frmMain::LoadTemplateList() {
    if (services_.files.FileExists(templateListFile_))
        toolkit::LoadListFromFile(templateListFile_, templateList_, services_.files,
                                  services_.codePage, services_.yielder);
}

// --- What the poll cycle reads and sets ---------------------------------------

bool frmMain::AolTicked() { return CheckState(Control(IDC_CHECK1)) != BST_UNCHECKED; }
bool frmMain::AimTicked() { return CheckState(Control(IDC_CHECK2)) != BST_UNCHECKED; }
std::string frmMain::FontFace() { return WindowTextOf(Control(IDC_COMBO1)); }
std::string frmMain::TemplateText() { return WindowTextOf(Control(IDC_TEXT1)); }

void frmMain::SetTemplateText(const std::string& text) {
    SetWindowTextOf(Control(IDC_TEXT1), text);
    OnTemplateChange();
}

void frmMain::ShowLastTitle(const std::string& title) {
    SetWindowTextOf(Control(IDC_LABEL4), title);
}

// --- Window procedures ----------------------------------------------------------------

LRESULT CALLBACK frmMain::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    frmMain* form = FormOf(window);
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
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
    case WM_DRAWITEM: OnDrawSwatch(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
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
    case WM_ACTIVATE:
        if (!OnActivate(LOWORD(wParam))) break;
        return 0;
    case WM_CLOSE: ShowWindow(window_, SW_HIDE); return 0;  // closing only hides
    case WM_EXITSIZEMOVE: SaveWindowPlace(window_, settings_); return 0;
    case WM_QUERYENDSESSION:  // the session's end is not held up
        SaveWindowPlace(window_, settings_);
        return TRUE;
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return 0;
    case WM_DESTROY:  // the icon and the program go with the window
        StopPollingAndRemoveIcon();
        PostQuitMessage(0);
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.AddAgain();  // the shell restarted: the icon comes back
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// A box ticked with Space keeps the keyboard: the click's move of the focus to the
// font list is the mouse's, and would make the next Tab skip the other box. The box
// reports the key's click while it handles the key's release.
LRESULT CALLBACK frmMain::CheckBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_KEYUP || wParam != VK_SPACE)
        return CallOwnProcedure(box, message, wParam, lParam);
    frmMain* form = FormOf(GetParent(box));
    form->spaceOnCheckBox_ = true;
    const LRESULT result = CallOwnProcedure(box, message, wParam, lParam);
    form->spaceOnCheckBox_ = false;
    return result;
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
    } else if (id == IDC_TEXT1 && code == kTemplateBoxEnter) {
        OnTemplateEnter();
    } else if (id == IDM_CLOSE) {
        Exit();
    } else if (id == IDM_SHOWHIDE) {
        OnShowHide();
    } else if (id == IDM_ANNOUNCE_NOW) {
        cycle_->AnnounceNow();
    } else if (const std::optional<int> seconds = TrayMenu::SettleSecondsOf(id)) {
        settings_.Write("settle", std::to_string(*seconds));
    } else if (const ControlLayout* layout = LayoutOf(id); layout && layout->onClick &&
                                                           code == STN_CLICKED) {
        (this->*layout->onClick)();
    }
}

LRESULT frmMain::OnControlColor(HDC dc, HWND control) {
    const ControlLayout* layout = LayoutOf(GetDlgCtrlID(control));
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

// The swatch, the one control that draws itself: its colour, the window colour until
// one is chosen. (Its focus rectangle is drawn with those of the links.)
void frmMain::OnDrawSwatch(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem,
             swatchBrush_ ? swatchBrush_.get() : GetSysColorBrush(COLOR_WINDOW));
}

// The controls that answer a click show the hand cursor.
bool frmMain::OnSetCursor(HWND control) {
    const ControlLayout* layout = LayoutOf(GetDlgCtrlID(control));
    if (!layout || !layout->onClick) return false;
    ShowHandCursor();
    return true;
}

void frmMain::OnTrayNotify(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        ShowWindow(window_, SW_SHOW);
    } else if (mouseMessage == WM_RBUTTONUP) {
        std::optional<int> settleSeconds;  // a time typed by hand that the menu lacks checks none
        Guarded([&] { settleSeconds = SettleSecondsFromSetting(settings_.Read("settle")); });
        menu_.PopUp(window_, settleSeconds);
    }
}

// Leaving the window and coming back (the colour dialog, another program) keeps the
// focus where it was, as a dialog box does: the keyboard goes on from there.
bool frmMain::OnActivate(WORD state) {
    if (state == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) focusWhenLeft_ = focus;
        return false;
    }
    if (!IsWindow(focusWhenLeft_)) return false;  // the window itself takes the focus
    SetFocus(focusWhenLeft_);
    return true;
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

// Logoff and shutdown are not held up; the window's place is kept, and the icon goes
// with the session.
void frmMain::OnEndSession(bool ending) {
    if (!ending) return;
    SaveWindowPlace(window_, settings_);
    WriteWaitingChanges();
    tray_.Remove(window_);
}

// --- Handlers of the controls and the menu ------------------------------------------------

void frmMain::OnCheckClick(int id) {
    if (!spaceOnCheckBox_) SetFocus(Control(IDC_COMBO1));
    settings_.Write(id == IDC_CHECK1 ? "aol" : "aim", std::to_string(CheckState(Control(id))));
}

void frmMain::OnFontChoice() {
    const LRESULT index = SendMessageW(Control(IDC_COMBO1), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const std::string face = fontList_.Entry(static_cast<int>(index));
    settings_.Write("font", face);
    SetTemplateFontFace(face);
}

void frmMain::OnColorChoice() {
    const std::optional<COLORREF> color = colorChooser_.Choose(window_);
    if (!color) return;  // cancelled: nothing changes
    Guarded([&] { SetSwatchColor(*color); });
    Guarded([&] {
        templateTextColor_ = *color;
        InvalidateRect(Control(IDC_TEXT1), nullptr, TRUE);
    });
    Guarded([&] { settings_.Write("color", std::to_string(static_cast<std::int32_t>(*color))); });
}

void frmMain::OnTemplateChange() { settings_.Write("format", TemplateText()); }

void frmMain::OnTemplateEnter() {
    const std::string text = TemplateText();
    if (toolkit::IsInList(templateList_, text, services_.cases)) return;
    templateList_.Append(text);
    SaveTemplateList();
}

void frmMain::SaveTemplateList() {
    templateListWaiting_ = !toolkit::SaveListToFile(templateListFile_, templateList_,
                                                    services_.files, services_.codePage);
}

void frmMain::OnViewTodaysLog() {
    services_.logCommands.ViewTodaysLog([this](const std::string& caption) {
        SetWindowTextOf(Control(IDC_LABEL5), caption);
    });
}

void frmMain::OnViewAllLogs() {
    services_.logCommands.ViewAllLogs([this](const std::string& caption) {
        SetWindowTextOf(Control(IDC_LABEL7), caption);
    });
}

void frmMain::OnShowHide() { ShowWindow(window_, IsWindowVisible(window_) ? SW_HIDE : SW_SHOW); }

// The program ends at once (the Exit link, the menu's Close): a click that came while
// a handler let events run (a chat send, the font list's loading) must not go back to
// the rest of that handler, as a quit through the message loop would. WM_DESTROY,
// which only a host that destroys the window brings (a test opening it in its own
// process), posts a quit instead: the host's loop ends, and the host goes on.
void frmMain::Exit() {
    StopPollingAndRemoveIcon();
    SaveWindowPlace(window_, settings_);
    WriteWaitingChanges();
    ExitProcess(0);
}

void frmMain::WriteWaitingChanges() {
    if (templateListWaiting_) Guarded([&] { SaveTemplateList(); });
    settings_.WriteWaiting();
}

void frmMain::StopPollingAndRemoveIcon() {
    KillTimer(window_, IDT_TIMER1);
    tray_.Remove(window_);
}

void frmMain::SetSwatchColor(COLORREF color) {
    swatchColor_ = color;
    swatchBrush_.reset(CreateSolidBrush(color));
    InvalidateRect(Control(IDC_PICTURE1), nullptr, TRUE);
}

void frmMain::SetTemplateFontFace(const std::string& face) {
    ScopedFont font = MakeFont(Wide(face), kPointSize, dpi_);
    SendMessageW(Control(IDC_TEXT1), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    templateFont_ = std::move(font);  // the box's old font is freed once it is let go
}

}  // namespace tobla
