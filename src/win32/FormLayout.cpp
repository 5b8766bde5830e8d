#include "win32/FormLayout.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "core/PlayLog.h"
#include "win32/ClickableLabel.h"
#include "win32/ControlIds.h"
#include "win32/SystemLibrary.h"
#include "win32/WideText.h"

namespace tobla {
namespace {

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

// The table's 780 twips would take Label2 30 twips into Combo1, where it painted over
// the list's border: it ends where the list begins. Label9's 240 would reach 15 twips
// below the client area: it ends at the area's bottom. Label1's 2835 and Label5's 1470
// are a pixel or two short of their bold captions at every DPI, which clips a letter at
// 144: they reach into the free room on their right (Label5 up to Label8).
constexpr int kLabel2Width = 3015 - 2265;
constexpr int kLabel9Height = kClientHeightTwips - 1410;

// The swatch draws itself; it and the links are the controls with a click, which the
// keyboard reaches too.
constexpr ControlLayout kLayout[] = {
    {.id = IDC_FRAME1,
     .kind = ControlKind::Button,
     .text = "Send Format",
     .style = BS_GROUPBOX,
     .place = {60, 15, 5730, 975}},
    {.id = IDC_CHECK1,
     .kind = ControlKind::Button,
     .text = "AOL",
     .style = BS_3STATE | WS_TABSTOP,
     .place = {75, 1050, 810, 255},
     .tooltip = kAolTip},
    {.id = IDC_CHECK2,
     .kind = ControlKind::Button,
     .text = "AIM",
     .style = BS_3STATE | WS_TABSTOP,
     .place = {1110, 1050, 825, 255},
     .tooltip = kAimTip},
    {.id = IDC_LABEL1,
     .kind = ControlKind::Static,
     .text = "Modifiers - %b, %s, %l, %p, %c",
     .style = kMouseLabel,
     .place = {90, 600, 2925, 285},
     .inFrame = true,
     .tooltip = kModifiersTip},
    {.id = IDC_COMBO1,
     .kind = ControlKind::ComboBox,
     .text = "Combo1",
     .style = kDropDown | CBS_SORT,
     .place = {3015, 1020, 2760, 330},
     .font = FontKind::Window},
    {.id = IDC_LABEL2,
     .kind = ControlKind::Static,
     .text = "Font -",
     .style = kLabel,
     .place = {2265, 1080, kLabel2Width, 180},
     .font = FontKind::Window},
    {.id = IDC_LABEL3,
     .kind = ControlKind::Static,
     .text = "Color - ",
     .style = kLabel,
     .place = {3255, 600, 615, 225},
     .inFrame = true},
    {.id = IDC_PICTURE1,
     .kind = ControlKind::Static,
     .text = "",
     .style = SS_OWNERDRAW | SS_NOTIFY | WS_TABSTOP,
     .place = {3870, 600, 1740, 240},
     .inFrame = true,
     .onClick = Click::ChooseColor},
    {.id = IDC_LABEL4,
     .kind = ControlKind::Static,
     .text = "Label4",
     .style = kLabel,
     .place = {1965, 1740, 75, 45},
     .font = FontKind::Window},
    {.id = IDC_LABEL5,
     .kind = ControlKind::Static,
     .text = kViewTodaysLogCaption,
     .style = kLink,
     .place = {2490, 1380, 1515, 255},
     .ink = Ink::Blue,
     .tooltip = kLogTip,
     .onClick = Click::ViewTodaysLog},
    {.id = IDC_LABEL8,
     .kind = ControlKind::Static,
     .text = "//",
     .style = kMouseLabel,
     .place = {4005, 1365, 180, 255},
     .ink = Ink::Black,
     .tooltip = kLogTip},
    {.id = IDC_LABEL7,
     .kind = ControlKind::Static,
     .text = kAllLogsCaption,
     .style = kLink,
     .place = {4245, 1380, 660, 255},
     .ink = Ink::Blue,
     .tooltip = kLogTip,
     .onClick = Click::ViewAllLogs},
    {.id = IDC_LABEL6,
     .kind = ControlKind::Static,
     .text = "Exit",
     .style = kLink,
     .place = {5295, 1380, 435, 240},
     .ink = Ink::Blue,
     .tooltip = kExitTip,
     .onClick = Click::Exit},
    {.id = IDC_TEXT1,
     .kind = ControlKind::ComboBox,
     .text = kTemplateBoxCreationText,
     .style = kDropDown,
     .place = {75, 225, 5535, 330},
     .inFrame = true,
     .font = FontKind::Window},
    {.id = IDC_LABEL9,
     .kind = ControlKind::Static,
     .text = "Winamp 2/3 ; AOL/AIM 32-bit",
     .style = kLabel,
     .place = {90, 1410, 2310, kLabel9Height},
     .font = FontKind::TahomaSmall,
     .ink = Ink::Black},
};

const ControlLayout* LayoutOf(int id) {
    for (const auto& layout : kLayout)
        if (layout.id == id) return &layout;
    return nullptr;
}

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Button: return L"BUTTON";
        case ControlKind::Static: return L"STATIC";
        case ControlKind::ComboBox: return L"COMBOBOX";
    }
    return L"STATIC";
}

ScopedFont MakeFont(const std::wstring& face, int hundredthsOfPoint, const Dpi& dpi) {
    return ScopedFont(CreateFontW(dpi.FontHeight(hundredthsOfPoint), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
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

}  // namespace

std::span<const ControlLayout> LayoutTable() { return kLayout; }

Click ClickOf(int id) {
    const ControlLayout* layout = LayoutOf(id);
    return layout ? layout->onClick : Click::None;
}

LayoutFonts::LayoutFonts(const Dpi& dpi)
    : window_(MakeFont(L"Arial", kPointSize, dpi)),
      tahoma_(MakeFont(L"Tahoma", kPointSize, dpi)),
      small_(MakeFont(L"Tahoma", kSmallPointSize, dpi)) {}

HFONT LayoutFonts::Of(FontKind kind) const {
    switch (kind) {
        case FontKind::Window: return window_.get();
        case FontKind::Tahoma: return tahoma_.get();
        case FontKind::TahomaSmall: return small_.get();
    }
    return nullptr;
}

void FormLayout::CreateControls(HWND window, HINSTANCE instance, const Dpi& dpi) {
    window_ = window;
    dpi_ = dpi;
    fonts_ = LayoutFonts(dpi);
    INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&common);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                               nullptr, instance, nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    for (const auto& layout : kLayout) CreateControl(layout, instance);
}

void FormLayout::CreateControl(const ControlLayout& c, HINSTANCE instance) {
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
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Of(c.font)), FALSE);
    if (combo) SetWindowTextW(control, text.c_str());  // a combo box ignores its creation text
    if (c.onClick != Click::None) MakeClickable(control);
    if (c.id == IDC_FRAME1) DrawUnstyled(control);
}

void FormLayout::AddTooltips() {
    for (const auto& layout : kLayout) {
        if (!layout.tooltip) continue;
        const std::wstring text = Wide(layout.tooltip);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by every version of the common controls
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_;
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window_, layout.id));
        tool.lpszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void FormLayout::ShowChosenColor(COLORREF color) {
    swatchBrush_.reset(CreateSolidBrush(color));
    InvalidateRect(GetDlgItem(window_, IDC_PICTURE1), nullptr, TRUE);
    templateTextColor_ = color;
    InvalidateRect(GetDlgItem(window_, IDC_TEXT1), nullptr, TRUE);
}

void FormLayout::SetTemplateFace(const std::string& face) {
    ScopedFont font = MakeFont(Wide(face), kPointSize, dpi_);
    SendMessageW(GetDlgItem(window_, IDC_TEXT1), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()),
                 TRUE);
    templateFont_ = std::move(font);  // the box's old font is freed once it is let go
}

LRESULT FormLayout::OnControlColor(HDC dc, HWND control) {
    const ControlLayout* layout = LayoutOf(GetDlgCtrlID(control));
    const Ink ink = layout ? layout->ink : Ink::Standard;
    SetTextColor(dc, ink == Ink::Blue    ? kBlue
                     : ink == Ink::Black ? kBlack
                                         : GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT FormLayout::OnTemplateColor(HDC dc) const {
    SetTextColor(dc, templateTextColor_);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// The swatch, the one control that draws itself. (Its focus rectangle is drawn with
// those of the links.)
void FormLayout::OnDrawSwatch(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem,
             swatchBrush_ ? swatchBrush_.get() : GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace tobla
