#pragma once
#include <windows.h>
#include <shellapi.h>

namespace tobla {

// The icon's notifications come on this private message (lParam: the mouse message).
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The notification-area icon: one record, filled by the add and reused by the remove.
class TrayIcon {
public:
    void Add(HWND window, HICON icon);  // hides the window, then adds the icon
    void AddAgain();                    // after the taskbar was recreated
    void Remove(HWND window);

private:
    NOTIFYICONDATAA data_{};
    bool added_ = false;
};

}  // namespace tobla
