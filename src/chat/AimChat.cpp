#include "chat/ChatRooms.h"
#include "core/MessageNumbers.h"

namespace tobla {
namespace {

constexpr const char* kChatWindowClass = "AIM_ChatWnd";
constexpr const char* kTextBoxClass = "WndAte32Class";
constexpr const char* kIconButtonClass = "_Oscar_IconBtn";
// The send button is the fifth icon button; the chain of lookups that reaches it
// starts again from the first button whenever it runs past the last one.
constexpr int kSendButtonLookups = 5;

// The chat window is looked up anew before every lookup in it. A window that has
// closed meanwhile ends the send (false): a lookup under 0 would search the
// top-level windows of every program instead.
bool FindInRoom(ForeignWindows& windows, WindowHandle after, const char* className,
                WindowHandle& found) {
    const WindowHandle room = AimFindRoom(windows);
    if (room == 0) return false;
    found = windows.FindChild(room, after, className);
    return true;
}

}  // namespace

WindowHandle AimFindRoom(ForeignWindows& windows) {
    return windows.FindTopLevel(kChatWindowClass);
}

void AimRoomSend(ForeignWindows& windows, const std::string& sendString) {
    if (AimFindRoom(windows) == 0) return;
    WindowHandle first = 0, box = 0, button = 0;
    if (!FindInRoom(windows, 0, kTextBoxClass, first)) return;
    if (!FindInRoom(windows, first, kTextBoxClass, box)) return;
    for (int i = 0; i < kSendButtonLookups; ++i)
        if (!FindInRoom(windows, button, kIconButtonClass, button)) return;

    windows.SetText(box, sendString);
    windows.YieldEvents();
    windows.Send(button, msg::kLButtonDown, /*wParam=*/0, /*lParam=*/0);
    windows.YieldEvents();
    windows.Send(button, msg::kLButtonUp, /*wParam=*/0, /*lParam=*/0);
}

}  // namespace tobla
