#include "win32/TrayIcon.h"

#include <cstring>

namespace tobla {
namespace {
constexpr const char* kTip = "Tobla - announces Winamp tracks in your chats";
}

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

}  // namespace tobla
