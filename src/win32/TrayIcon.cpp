#include "win32/TrayIcon.h"

#include <cstring>

#include "win32/ControlIds.h"

namespace tobla {
namespace {

constexpr const char* kTip = "Tobla - announces Winamp tracks in your chats";

// The choices of the menu's "Announce After": a track is announced once it has
// played this long.
struct SettleChoice {
    int id;
    int seconds;
    const wchar_t* text;
};
constexpr SettleChoice kSettleChoices[] = {{IDM_SETTLE_1, 1, L"&1 second"},
                                           {IDM_SETTLE_5, 5, L"&5 seconds"},
                                           {IDM_SETTLE_15, 15, L"1&5 seconds"},
                                           {IDM_SETTLE_30, 30, L"&30 seconds"}};

}  // namespace

void TrayIcon::Add(HWND window, HICON icon) {
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the shell's first layout: works on every version
    data_.hWnd = window;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.hIcon = icon;
    std::memset(data_.szTip, ' ', 63);
    std::memcpy(data_.szTip, kTip, std::strlen(kTip) + 1);
    ShowWindow(window, SW_HIDE);
    Shell_NotifyIconA(NIM_ADD, &data_);
    added_ = true;
}

void TrayIcon::AddAgain() {
    if (added_) Shell_NotifyIconA(NIM_ADD, &data_);
}

void TrayIcon::Remove(HWND window) {
    data_.hWnd = window;
    Shell_NotifyIconA(NIM_DELETE, &data_);
    added_ = false;
}

void TrayMenu::Create() {
    menu_.reset(CreatePopupMenu());
    HMENU settle = CreatePopupMenu();  // the menu holds it, and destroys it with itself
    for (const auto& choice : kSettleChoices)
        AppendMenuW(settle, MF_STRING, choice.id, choice.text);
    AppendMenuW(menu_.get(), MF_STRING, IDM_SHOWHIDE, L"&Show Tobla");
    AppendMenuW(menu_.get(), MF_SEPARATOR, 0, L"-");
    AppendMenuW(menu_.get(), MF_STRING, IDM_ANNOUNCE_NOW, L"&Announce Now");
    AppendMenuW(menu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(settle), L"Announce A&fter");
    AppendMenuW(menu_.get(), MF_SEPARATOR, 0, L"-");
    AppendMenuW(menu_.get(), MF_STRING, IDM_CLOSE, L"&Close Tobla");
}

void TrayMenu::PopUp(HWND window, std::optional<int> settleSeconds) {
    ModifyMenuW(menu_.get(), IDM_SHOWHIDE, MF_BYCOMMAND | MF_STRING, IDM_SHOWHIDE,
                IsWindowVisible(window) ? L"&Hide Tobla" : L"&Show Tobla");
    if (settleSeconds)
        for (const auto& choice : kSettleChoices)
            CheckMenuItem(
                menu_.get(), choice.id,
                MF_BYCOMMAND | (choice.seconds == *settleSeconds ? MF_CHECKED : MF_UNCHECKED));
    POINT at;
    GetCursorPos(&at);
    // The menu closes on a click elsewhere only when the window is in front.
    SetForegroundWindow(window);
    TrackPopupMenu(menu_.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}

std::optional<int> TrayMenu::SettleSecondsOf(int command) {
    for (const auto& choice : kSettleChoices)
        if (choice.id == command) return choice.seconds;
    return std::nullopt;
}

}  // namespace tobla
