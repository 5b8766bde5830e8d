#include "win32/FrmMain.h"

#include "core/ListFile.h"
#include "core/OperationFailed.h"
#include "core/Settings.h"
#include "core/StoredValues.h"
#include "core/Template.h"
#include "win32/ClickableLabel.h"
#include "win32/ControlIds.h"
#include "win32/TemplateBox.h"
#include "win32/WindowPlace.h"

namespace tobla {
namespace {

constexpr const wchar_t* kCaption = L"Tobla - Winamp tracks for AOL and AIM chats";

frmMain* FormOf(HWND window) {
    return reinterpret_cast<frmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

frmMain::frmMain(HINSTANCE instance, Services services)
    : instance_(instance),
      services_(std::move(services)),
      settings_(services_.settings, InFolder(services_.programFolder, kSettingsFileName)),
      templateListFile_(InFolder(services_.programFolder, kTemplateListFileName)) {}

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
    layout_.CreateControls(window_, instance_, dpi_);
    fontList_.Attach(Control(IDC_COMBO1));
    templateList_.Attach(Control(IDC_TEXT1));
    WatchControls();
    layout_.AddTooltips();
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

// The check boxes, for where a click leaves the focus, and Enter in the template box.
void frmMain::WatchControls() {
    Subclass(Control(IDC_CHECK1), &frmMain::CheckBoxProc);
    Subclass(Control(IDC_CHECK2), &frmMain::CheckBoxProc);
    CatchEnter(Control(IDC_TEXT1));
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
    layout_.ShowChosenColor(static_cast<COLORREF>(*color));
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
    layout_.SetTemplateFace(FontFace());
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
        auto* form =
            static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
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

// The window's messages, each to what handles it.
LRESULT frmMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    const auto control = reinterpret_cast<HWND>(lParam);
    switch (message) {
        case WM_TIMER:
            if (wParam == IDT_TIMER1) cycle_->Tick();
            return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_CTLCOLORSTATIC: return FormLayout::OnControlColor(dc, control);
        case WM_DRAWITEM:
            layout_.OnDrawSwatch(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLOREDIT:
            if (GetParent(control) != Control(IDC_TEXT1)) break;
            return layout_.OnTemplateColor(dc);
        case WM_SETCURSOR:  // the controls that answer a click show the hand
            if (ClickOf(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))) == Click::None) break;
            ShowHandCursor();
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
    } else if (code == STN_CLICKED) {
        OnClick(ClickOf(id));
    }
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

void frmMain::OnClick(Click click) {
    switch (click) {
        case Click::None: return;
        case Click::ChooseColor: OnColorChoice(); return;
        case Click::ViewTodaysLog: OnViewTodaysLog(); return;
        case Click::ViewAllLogs: OnViewAllLogs(); return;
        case Click::Exit: Exit(); return;
    }
}

void frmMain::OnCheckClick(int id) {
    if (!spaceOnCheckBox_) SetFocus(Control(IDC_COMBO1));
    settings_.Write(id == IDC_CHECK1 ? "aol" : "aim", std::to_string(CheckState(Control(id))));
}

void frmMain::OnFontChoice() {
    const LRESULT index = SendMessageW(Control(IDC_COMBO1), CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const std::string face = fontList_.Entry(static_cast<int>(index));
    settings_.Write("font", face);
    layout_.SetTemplateFace(face);
}

void frmMain::OnColorChoice() {
    const std::optional<COLORREF> color = colorChooser_.Choose(window_);
    if (!color) return;  // cancelled: nothing changes
    Guarded([&] { layout_.ShowChosenColor(*color); });
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
    services_.logCommands.ViewTodaysLog(
        [this](const std::string& caption) { SetWindowTextOf(Control(IDC_LABEL5), caption); });
}

void frmMain::OnViewAllLogs() {
    services_.logCommands.ViewAllLogs(
        [this](const std::string& caption) { SetWindowTextOf(Control(IDC_LABEL7), caption); });
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

}  // namespace tobla
