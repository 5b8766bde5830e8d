#pragma once
#include <windows.h>

namespace tobla {

// The thread's messages are handed out in one place, whether the main loop or a yield
// takes them, so the main window's keyboard navigation (Tab, the arrow keys, Enter)
// has its turn either way. They are taken in their Unicode form: a character outside
// the ANSI code page reaches the window whole.
class MessagePump {
public:
    // The window whose keyboard navigation runs; none until the window is made.
    void NavigateIn(HWND window) { navigated_ = window; }

    // Runs every pending message. A quit message ends it and is posted again, so the
    // main loop, which it is meant for, sees it too; then the result is false.
    bool RunPending() const;
    // Runs messages until the quit message; returns its exit code.
    int RunUntilQuit() const;

private:
    void Deliver(MSG& message) const;

    HWND navigated_ = nullptr;
};

}  // namespace tobla
