#pragma once
#include <cstdint>
#include <string>

namespace tobla {

// A 32-bit window handle; 0 means none.
using WindowHandle = std::uint32_t;

// The operations on other programs' windows. Every call finds and asks anew.
// An operation throws OperationFailed when the window does not answer in time
// (or is reported hung); a message to a handle that does not exist does nothing
// and yields 0.
class ForeignWindows {
public:
    virtual ~ForeignWindows() = default;

    // The first top-level window of the class, 0 if none.
    virtual WindowHandle FindTopLevel(const std::string& className) = 0;
    // The next child of parent with the class after `after` (0: the first child);
    // a parent of 0 searches the top-level windows.
    virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                   const std::string& className) = 0;
    // Sends a message with integer arguments and returns its result.
    virtual std::int32_t Send(WindowHandle window, std::uint32_t message,
                              std::uint32_t wParam, std::int32_t lParam) = 0;
    // WM_SETTEXT with the text.
    virtual void SetText(WindowHandle window, const std::string& text) = 0;
    // WM_GETTEXT with wParam length + 1 into a buffer of `length` NULs and a
    // terminating NUL; returns all `length` characters as filled.
    virtual std::string GetTextBuffer(WindowHandle window, std::uint32_t length) = 0;
    // Lets the program's pending window events run.
    virtual void YieldEvents() = 0;
};

}  // namespace tobla
