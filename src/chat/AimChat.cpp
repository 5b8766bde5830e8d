#include "chat/AimChat.h"
#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/WindowText.h"

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

void PressSend(ForeignWindows& windows, WindowHandle box, WindowHandle button,
               const std::string& sendString) {
    windows.SetText(box, sendString);
    windows.YieldEvents();
    windows.Send(button, msg::kLButtonDown, /*wParam=*/0, /*lParam=*/0);
    windows.YieldEvents();
    windows.Send(button, msg::kLButtonUp, /*wParam=*/0, /*lParam=*/0);
}

}  // namespace

WindowHandle AimFindRoom(ForeignWindows& windows) { return windows.FindTopLevel(kChatWindowClass); }

void AimRoomSend(ForeignWindows& windows, const std::string& sendString) {
    if (AimFindRoom(windows) == 0) return;
    WindowHandle first = 0, box = 0, button = 0;
    if (!FindInRoom(windows, 0, kTextBoxClass, first)) return;
    if (!FindInRoom(windows, first, kTextBoxClass, box)) return;
    for (int i = 0; i < kSendButtonLookups; ++i)
        if (!FindInRoom(windows, button, kIconButtonClass, button)) return;

    // The user's half-typed line is read before the box is set and put back after
    // the send has emptied it, even when a slow window let a message run out of time.
    // A box that was empty is left as the send leaves it.
    const std::string draft = winampApi::GetWindowCaption(windows, box);
    const bool sent = Guarded([&] { PressSend(windows, box, button, sendString); });
    if (!draft.empty()) windows.SetText(box, draft);
    if (!sent) throw OperationFailed("the AIM window did not take the line");
}

}  // namespace tobla
