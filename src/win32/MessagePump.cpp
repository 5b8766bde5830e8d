#include "win32/MessagePump.h"

namespace tobla {

bool MessagePump::RunPending() const {
    MSG message;
    while (PeekMessageW(&message, /*hWnd=*/nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        Deliver(message);
    }
    return true;
}

int MessagePump::RunUntilQuit() const {
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, /*hWnd=*/nullptr, 0, 0)) > 0) Deliver(message);
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

void MessagePump::Deliver(MSG& message) const {
    if (navigated_ && IsDialogMessageW(navigated_, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

}  // namespace tobla
