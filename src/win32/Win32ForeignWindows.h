#pragma once
#include "core/Interfaces.h"
#include "win32/MessagePump.h"

namespace tobla {

// The foreign-window seam over user32. Messages go out with a 2-second limit and
// abort at once on a window the system reports hung; either way the operation
// throws OperationFailed instead of freezing the user-interface thread.
class Win32ForeignWindows : public ForeignWindows {
public:
    static constexpr unsigned kAnswerTimeoutMs = 2000;

    Win32ForeignWindows() = default;
    // Yields through the program's message pump, with its keyboard navigation.
    explicit Win32ForeignWindows(const MessagePump& pump) : pump_(&pump) {}
    Win32ForeignWindows(const Win32ForeignWindows&) = delete;
    Win32ForeignWindows& operator=(const Win32ForeignWindows&) = delete;

    WindowHandle FindTopLevel(const std::string& className) override;
    WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                           const std::string& className) override;
    std::int32_t Send(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                      std::int32_t lParam) override;
    void SetText(WindowHandle window, const std::string& text) override;
    std::string GetTextBuffer(WindowHandle window, std::uint32_t length) override;
    // Lets every pending message of the calling thread run (quitting is left to the
    // main loop: a WM_QUIT seen here is posted again).
    void YieldEvents() override;

private:
    MessagePump plain_;  // for a yield outside the program, with no window to navigate
    const MessagePump* pump_ = &plain_;
};

}  // namespace tobla
