#include "ui/FrmMain.h"

#include <commctrl.h>
#include <commdlg.h>

#include "core/Settings.h"
#include "core/Template.h"
#include "platform/MessageNumbers.h"
#include "platform/OperationFailed.h"
#include "ui/ControlIds.h"

namespace tobla {
namespace {

constexpr const char* kCaption = "Tobla - Winamp tracks for AOL and AIM chats";
constexpr const char* kInitialTemplate = "%s [ %l / %b ]";
constexpr int kClientWidthTwips = 5850, kClientHeightTwips = 1635;
constexpr int kFrameLeft = 60, kFrameTop = 15;
constexpr int kDropDownExtraTwips = 2400;  // the open list of a combo box
constexpr COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

enum class FontKind { Window, Tahoma, TahomaSmall };
enum class Ink { Standard, Blue, Black };

struct ControlLayout {
    int id;
    const char* className;
    const char* text;
    DWORD style;
    int left, top, width, height;  // twips; inside Frame1 when inFrame
    bool inFrame;
    FontKind font;
    Ink ink;
    const char* tooltip;
};

constexpr const char* kLogTip = " Open log of songs you've played, with date and timestamp. ";

// The table's 780 twips would take Label2 30 twips into Combo1, where it painted over
// the list's border: it ends where the list begins. Label9's 240 would reach 15 twips
// below the client area: it ends at the area's bottom.
constexpr int kLabel2Width = 3015 - 2265;
constexpr int kLabel9Height = kClientHeightTwips - 1410;

// In tab order; the window's z-order follows creation order. Every label is one line:
// a caption a little too wide for its box loses a pixel at its end, never a word.
const ControlLayout kLayout[] = {
    {IDC_FRAME1, "BUTTON", "Send Format", BS_GROUPBOX, 60, 15, 5730, 975, false, FontKind::Tahoma, Ink::Standard, nullptr},
    {IDC_CHECK1, "BUTTON", "AOL", BS_3STATE | WS_TABSTOP, 75, 1050, 810, 255, false, FontKind::Tahoma, Ink::Standard,
     " Check off this box if you want to send titles to AOL chats. "},
    {IDC_CHECK2, "BUTTON", "AIM", BS_3STATE | WS_TABSTOP, 1110, 1050, 825, 255, false, FontKind::Tahoma, Ink::Standard,
     " Check off this box if you want to send titles to AIM chats. "},
    {IDC_LABEL1, "STATIC", "Modifiers - %b, %s, %l, %p, %c", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 90, 600, 2835, 285, true, FontKind::Tahoma, Ink::Standard,
     "%b = bitrate, %s = song title, %l = length, %p = song number, %c = list count"},
    {IDC_COMBO1, "COMBOBOX", "Combo1", CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 3015, 1020, 2760, 330, false,
     FontKind::Window, Ink::Standard, nullptr},
    {IDC_LABEL2, "STATIC", "Font -", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 2265, 1080, kLabel2Width, 180, false, FontKind::Window, Ink::Standard, nullptr},
    {IDC_LABEL3, "STATIC", "Color - ", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 3255, 600, 615, 225, true, FontKind::Tahoma, Ink::Standard, nullptr},
    {IDC_PICTURE1, "STATIC", "", SS_NOTIFY, 3870, 600, 1740, 240, true, FontKind::Tahoma, Ink::Standard, nullptr},
    {IDC_LABEL4, "STATIC", "Label4", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 1965, 1740, 75, 45, false, FontKind::Window, Ink::Standard, nullptr},
    {IDC_LABEL5, "STATIC", "View Today's Log", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 2490, 1380, 1470, 255, false, FontKind::Tahoma, Ink::Blue, kLogTip},
    {IDC_LABEL6, "STATIC", "Exit", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 5295, 1380, 435, 240, false, FontKind::Tahoma, Ink::Blue,
     " Click here to exit, titlebar controls will only minimize Tobla. "},
    {IDC_LABEL7, "STATIC", "All Logs", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 4245, 1380, 660, 255, false, FontKind::Tahoma, Ink::Blue, kLogTip},
    {IDC_LABEL8, "STATIC", "//", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 4005, 1365, 180, 255, false, FontKind::Tahoma, Ink::Black, kLogTip},
    {IDC_TEXT1, "COMBOBOX", kInitialTemplate, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 75, 225, 5535, 330, true,
     FontKind::Window, Ink::Standard, nullptr},
    {IDC_LABEL9, "STATIC", "Winamp 2/3 ; AOL/AIM 32-bit", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 90, 1410, 2310, kLabel9Height, false, FontKind::TahomaSmall, Ink::Black, nullptr},
};

const ControlLayout* LayoutOf(int id) {
    for (const auto& layout : kLayout)
        if (layout.id == id) return &layout;
    return nullptr;
}

HFONT MakeFont(const char* face, double points, HDC dc) {
    const int height = -MulDiv(static_cast<int>(points * 100 + 0.5),
                               GetDeviceCaps(dc, LOGPIXELSY), 7200);
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

int CALLBACK CollectFontFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
    reinterpret_cast<ComboList*>(list)->Append(font->lfFaceName);
    return 1;
}

// The colour dialog has no title field: its hook names it.
UINT_PTR CALLBACK NameColorDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) SetWindowTextA(dialog, "Choose a Color");
    return 0;
}

}  // namespace

frmMain::frmMain(HINSTANCE instance, std::string programFolder)
    : instance_(instance),
      swatchColor_(GetSysColor(COLOR_WINDOW)),
      templateTextColor_(GetSysColor(COLOR_WINDOWTEXT)),
      programFolder_(std::move(programFolder)),
      settingsFile_(programFolder_ + kSettingsFileName),
      templateListFile_(programFolder_ + kTemplateListFileName),
      playLog_(programFolder_, files_, clock_),
      logCommands_(programFolder_, files_, clock_, launcher_, yielder_),
      cycle_({player_, chat_, settings_, playLog_, *this, yielder_}, settingsFile_) {}

frmMain::~frmMain() {
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(windowFont_), static_cast<HGDIOBJ>(tahomaFont_),
                           static_cast<HGDIOBJ>(smallFont_), static_cast<HGDIOBJ>(templateFont_),
                           static_cast<HGDIOBJ>(swatchBrush_)})
        if (object) DeleteObject(object);
    if (menu_) DestroyMenu(menu_);
}

int frmMain::Px(int twips, bool vertical) const {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, vertical ? LOGPIXELSY : LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return MulDiv(twips, dpi, 1440);
}

bool frmMain::Load() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &frmMain::WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_TOBLA));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Px(kClientWidthTwips, false), Px(kClientHeightTwips, true)};
    AdjustWindowRectEx(&frame, style, /*bMenu=*/FALSE, WS_EX_CONTROLPARENT);
    window_ = CreateWindowExA(WS_EX_CONTROLPARENT | WS_EX_TOPMOST, kClassName, kCaption, style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                              nullptr, nullptr, instance_, this);
    if (!window_) return false;
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    CreateControls();
    SetTimer(window_, IDT_TIMER1, 1, nullptr);
    StartUp();
    return true;
}

void frmMain::CreateControls() {
    HDC dc = GetDC(nullptr);
    windowFont_ = MakeFont("Arial", 8.25, dc);
    tahomaFont_ = MakeFont("Tahoma", 8.25, dc);
    smallFont_ = MakeFont("Tahoma", 6.75, dc);
    ReleaseDC(nullptr, dc);

    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               window_, nullptr, instance_, nullptr);
    SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);

    for (const auto& c : kLayout) {
        const int left = c.left + (c.inFrame ? kFrameLeft : 0);
        const int top = c.top + (c.inFrame ? kFrameTop : 0);
        const bool combo = std::string(c.className) == "COMBOBOX";
        const int height = c.height + (combo ? kDropDownExtraTwips : 0);
        // Both edges from twips: neighbours that meet in the table meet on the screen.
        const int x = Px(left, false), y = Px(top, true);
        HWND control = CreateWindowExA(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style,
                                       x, y, Px(left + c.width, false) - x,
                                       Px(top + height, true) - y, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       instance_, nullptr);
        const HFONT font = c.font == FontKind::Window   ? windowFont_
                           : c.font == FontKind::Tahoma ? tahomaFont_
                                                        : smallFont_;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (combo) SetWindowTextA(control, c.text);  // a combo box ignores its creation text
        if (c.id == IDC_FRAME1) DrawUnstyled(control);
        if (c.tooltip) AddTooltip(control, c.tooltip);
    }
    fontList_.Attach(Control(IDC_COMBO1));
    templateList_.Attach(Control(IDC_TEXT1));

    // Enter in the template box reaches the box's edit field, where it is caught.
    HWND edit = GetWindow(Control(IDC_TEXT1), GW_CHILD);
    SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    templateEditBase_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::TemplateEditProc)));

    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, IDM_SHOWHIDE, "&Show Tobla");
    AppendMenuA(menu_, MF_SEPARATOR, 0, "-");
    AppendMenuA(menu_, MF_STRING, IDM_CLOSE, "&Close Tobla");
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

// Each step stands alone: one that fails is skipped.
void frmMain::StartUp() {
    Guarded([&] { SetTopmost(window_); });
    Guarded([&] { cycle_.SetLastAnnouncedTitle(winampApi::GetSongTitle(windows_)); });
    Guarded([&] {
        const std::string color = Read("color");
        if (color.empty()) return;
        // A value the swatch refuses leaves its colour, which the box then takes.
        Guarded([&] {
            const std::int32_t value = RoundHalfEven32(NumericPrefix(color));
            if (value >= 0 && value <= 0xFFFFFF) SetSwatchColor(static_cast<COLORREF>(value));
        });
        templateTextColor_ = swatchColor_;
        InvalidateRect(Control(IDC_TEXT1), nullptr, TRUE);
    });
    for (auto [id, key] : {std::pair{IDC_CHECK1, "aol"}, std::pair{IDC_CHECK2, "aim"}}) {
        Guarded([&] {
            const std::string state = Read(key);
            if (!state.empty()) {
                const double value = NumericPrefix(state);
                if (value >= -32768.5 && value < 32767.5) SetCheckState(id, RoundHalfEven32(value));
            }
        });
    }
    Guarded([&] {
        const std::string stored = Read("format");
        const std::string text = stored.empty() ? std::string(DefaultTemplate) : stored;
        if (text != TemplateText()) SetTemplateText(text);
    });
    Guarded([&] { LoadFonts(); });
    Guarded([&] { winampApi::RemoveDuplicates(fontList_, yielder_); });
    Guarded([&] { SelectStoredFont(); });
    Guarded([&] {
        if (files_.FileExists(templateListFile_))
            toolkit::LoadListFromFile(templateListFile_, templateList_, files_, yielder_);
    });
    Guarded([&] { tray_.Add(window_, LoadIconA(instance_, MAKEINTRESOURCEA(IDI_TOBLA))); });
    ShowWindow(window_, SW_SHOW);
}

void frmMain::LoadFonts() {
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;  // every face once per character set: duplicates appear
    HDC dc = GetDC(window_);
    EnumFontFamiliesExA(dc, &all, reinterpret_cast<FONTENUMPROCA>(&CollectFontFace),
                        reinterpret_cast<LPARAM>(&fontList_), 0);
    ReleaseDC(window_, dc);
}

void frmMain::SelectStoredFont() {
    if (Read("font").empty()) return;
    for (int i = 0; i < fontList_.Count(); ++i)
        if (fontList_.Entry(i) == Read("font"))
            SendMessageA(Control(IDC_COMBO1), msg::kComboSetCurSel, i, 0);
    SetTemplateFontFace(FontFace());
}

// --- What the poll cycle reads and sets ---------------------------------------

bool frmMain::AolTicked() { return SendMessageA(Control(IDC_CHECK1), BM_GETCHECK, 0, 0) != BST_UNCHECKED; }
bool frmMain::AimTicked() { return SendMessageA(Control(IDC_CHECK2), BM_GETCHECK, 0, 0) != BST_UNCHECKED; }
std::string frmMain::FontFace() { return WindowTextOf(Control(IDC_COMBO1)); }
std::string frmMain::TemplateText() { return WindowTextOf(Control(IDC_TEXT1)); }

void frmMain::SetTemplateText(const std::string& text) {
    SetWindowTextA(Control(IDC_TEXT1), text.c_str());
    OnTemplateChange();
}

void frmMain::ShowLastTitle(const std::string& title) {
    SetWindowTextA(Control(IDC_LABEL4), title.c_str());
}

// --- Handlers ---------------------------------------------------------------------

void frmMain::SetCheckState(int id, int state) {
    if (state < BST_UNCHECKED || state > BST_INDETERMINATE) return;  // the box refuses it
    const LRESULT current = SendMessageA(Control(id), BM_GETCHECK, 0, 0);
    if (current == state) return;
    SendMessageA(Control(id), BM_SETCHECK, state, 0);
    OnCheckClick(id);
}

void frmMain::OnCheckClick(int id) {
    SetFocus(Control(IDC_COMBO1));
    const LRESULT state = SendMessageA(Control(id), BM_GETCHECK, 0, 0);
    Write(id == IDC_CHECK1 ? "aol" : "aim", std::to_string(state));
}

void frmMain::OnFontChoice() {
    HWND combo = Control(IDC_COMBO1);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
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
    if (!ChooseColorA(&dialog)) return;  // cancelled: nothing changes
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
    if (!toolkit::IsInList(templateList_, text)) {
        templateList_.Append(text);
        toolkit::SaveListToFile(templateListFile_, templateList_, files_);
    }
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

void frmMain::OnShowHide() { ShowWindow(window_, IsWindowVisible(window_) ? SW_HIDE : SW_SHOW); }

void frmMain::Exit() {
    KillTimer(window_, IDT_TIMER1);
    tray_.Remove(window_);
    ExitProcess(0);
}

void frmMain::SetSwatchColor(COLORREF color) {
    swatchColor_ = color;
    if (swatchBrush_) DeleteObject(swatchBrush_);
    swatchBrush_ = CreateSolidBrush(color);
    InvalidateRect(Control(IDC_PICTURE1), nullptr, TRUE);
}

void frmMain::SetTemplateFontFace(const std::string& face) {
    HDC dc = GetDC(nullptr);
    HFONT font = MakeFont(face.c_str(), 8.25, dc);
    ReleaseDC(nullptr, dc);
    SendMessageA(Control(IDC_TEXT1), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (templateFont_) DeleteObject(templateFont_);
    templateFont_ = font;
}

std::string frmMain::Read(const char* key) {
    return settings_.GetFromIni(kSettingsSection, key, settingsFile_);
}

void frmMain::Write(const char* key, const std::string& value) {
    settings_.WriteToIni(kSettingsSection, key, value, settingsFile_);
}

LRESULT frmMain::ColorStatic(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == IDC_PICTURE1 && swatchBrush_) return reinterpret_cast<LRESULT>(swatchBrush_);
    if (id == IDC_PICTURE1) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    const ControlLayout* layout = LayoutOf(id);
    const Ink ink = layout ? layout->ink : Ink::Standard;
    SetTextColor(dc, ink == Ink::Blue ? kBlue : ink == Ink::Black ? kBlack : GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
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

LRESULT frmMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        tray_.AddAgain();
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == IDT_TIMER1) cycle_.Tick();
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDC_CHECK1 || id == IDC_CHECK2) {
            if (code == BN_CLICKED) {
                const LRESULT state = SendMessageA(Control(id), BM_GETCHECK, 0, 0);
                SendMessageA(Control(id), BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
                OnCheckClick(id);
            }
        } else if (id == IDC_COMBO1 && code == CBN_SELCHANGE) {
            OnFontChoice();
        } else if (id == IDC_TEXT1 && code == CBN_EDITCHANGE) {
            OnTemplateChange();
        } else if (id == IDC_PICTURE1 && code == STN_CLICKED) {
            OnColorChoice();
        } else if (id == IDC_LABEL5 && code == STN_CLICKED) {
            logCommands_.ViewTodaysLog([this](const std::string& caption) {
                SetWindowTextA(Control(IDC_LABEL5), caption.c_str());
            });
        } else if (id == IDC_LABEL7 && code == STN_CLICKED) {
            logCommands_.ViewAllLogs([this](const std::string& caption) {
                SetWindowTextA(Control(IDC_LABEL7), caption.c_str());
            });
        } else if ((id == IDC_LABEL6 && code == STN_CLICKED) || id == IDM_CLOSE) {
            Exit();
        } else if (id == IDM_SHOWHIDE) {
            OnShowHide();
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLOREDIT:
        if (GetParent(reinterpret_cast<HWND>(lParam)) == Control(IDC_TEXT1)) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, templateTextColor_);
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_SETCURSOR: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
        if (id == IDC_LABEL5 || id == IDC_LABEL6 || id == IDC_LABEL7 || id == IDC_PICTURE1) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case kTrayCallbackMessage:
        OnTrayNotify(static_cast<UINT>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {  // minimising hides, the state stays normal
            ShowWindow(window_, SW_HIDE);
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            ShowWindow(window_, SW_RESTORE);
            ShowWindow(window_, SW_HIDE);
        }
        return 0;
    case WM_CLOSE:  // closing only hides; Exit ends the program
        ShowWindow(window_, SW_HIDE);
        return 0;
    case WM_ENDSESSION:
        if (wParam) tray_.Remove(window_);
        return 0;
    case WM_DESTROY:  // the window's end takes the icon with it
        KillTimer(window_, IDT_TIMER1);
        tray_.Remove(window_);
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
    if (message == WM_CHAR && wParam == '\r') {
        Guarded([&] { form->OnTemplateEnter(); });
        return 0;  // swallowed: no beep, nothing reaches the box
    }
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && enter) return 0;
    return CallWindowProcA(form->templateEditBase_, edit, message, wParam, lParam);
}

}  // namespace tobla
