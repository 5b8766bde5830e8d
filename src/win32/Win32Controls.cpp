#include "win32/Win32Controls.h"

#include "win32/Scoped.h"

namespace tobla {

int ComboList::Count() {
    const LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboList::Entry(int index) {
    const LRESULT length = SendMessageA(combo_, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(combo_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void ComboList::Append(const std::string& text) {
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ComboList::Remove(int index) { SendMessageA(combo_, CB_DELETESTRING, index, 0); }

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

int CheckState(HWND box) { return static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0)); }

void Check(HWND box, int state) { SendMessageA(box, BM_SETCHECK, state, 0); }

Dpi Dpi::OfScreen() {
    const WindowDC screen;
    return {GetDeviceCaps(screen.get(), LOGPIXELSX), GetDeviceCaps(screen.get(), LOGPIXELSY)};
}

}  // namespace tobla
