#pragma once
#include <windows.h>
#include <shellapi.h>

#include <optional>

#include "win32/Scoped.h"

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

// The icon's popup menu: show or hide the window, announce the playing track again,
// how long a track plays before it is announced, close Tobla. Its items send the
// window their IDM_ commands.
class TrayMenu {
public:
    void Create();
    // Pops up at the pointer, its first item named for what it does to the window now
    // and the stored choice of "Announce After" checked (one that is none of the
    // choices checks none; without one the checks stay as they were).
    void PopUp(HWND window, std::optional<int> settleSeconds);
    // The seconds an "Announce After" item stands for; none for another command.
    static std::optional<int> SettleSecondsOf(int command);

private:
    ScopedMenu menu_;
};

}  // namespace tobla
