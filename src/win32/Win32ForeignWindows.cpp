#include "win32/Win32ForeignWindows.h"

#include <windows.h>

#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "win32/WideText.h"

namespace tobla {
namespace {

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)); }
WindowHandle ToHandle(HWND window) {
    return static_cast<WindowHandle>(reinterpret_cast<UINT_PTR>(window));
}

// SendMessage that gives up on a window that does not answer. A handle that is no
// longer a window is not a failure: the message simply has no effect. Sent as
// Unicode: a Unicode window's text comes whole, and the system converts it for an
// ANSI window through the code page, as it converted ANSI text before.
LRESULT SendWithin(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == 0) return 0;
    DWORD_PTR result = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutW(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG,
                            Win32ForeignWindows::kAnswerTimeoutMs, &result))
        return static_cast<LRESULT>(result);
    if (!IsWindow(ToHwnd(window))) return 0;
    throw OperationFailed("window did not answer");
}

}  // namespace

WindowHandle Win32ForeignWindows::FindTopLevel(const std::string& className) {
    return ToHandle(FindWindowW(Wide(className).c_str(), /*lpWindowName=*/nullptr));
}

WindowHandle Win32ForeignWindows::FindChild(WindowHandle parent, WindowHandle after,
                                            const std::string& className) {
    return ToHandle(FindWindowExW(ToHwnd(parent), ToHwnd(after), Wide(className).c_str(),
                                  /*lpszWindow=*/nullptr));
}

std::int32_t Win32ForeignWindows::Send(WindowHandle window, std::uint32_t message,
                                       std::uint32_t wParam, std::int32_t lParam) {
    return static_cast<std::int32_t>(SendWithin(window, message, wParam, lParam));
}

void Win32ForeignWindows::SetText(WindowHandle window, const std::string& text) {
    const std::wstring wide = Wide(text);
    SendWithin(window, msg::kSetText, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string Win32ForeignWindows::GetTextBuffer(WindowHandle window, std::uint32_t length) {
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    SendWithin(window, msg::kGetText, length + 1, reinterpret_cast<LPARAM>(buffer.data()));
    return Utf8(buffer.data(), length);
}

void Win32ForeignWindows::YieldEvents() { pump_->RunPending(); }

}  // namespace tobla
