#include "Superclass.h"

#include <cstdio>

namespace tobla::sim {

WNDPROC RegisterSuperclass(const char* base, const char* name, WNDPROC wrapper) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA real{};
    if (!GetClassInfoA(instance, base, &real)) return nullptr;
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, name, &existing)) {
        WNDCLASSA copy = real;
        copy.style &= ~CS_GLOBALCLASS;
        copy.hInstance = instance;
        copy.lpfnWndProc = wrapper;
        copy.lpszClassName = name;
        copy.lpszMenuName = nullptr;
        RegisterClassA(&copy);
    }
    return real.lpfnWndProc;
}

std::string DescribeInput(UINT message, WPARAM wParam, LPARAM lParam) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(wParam));
    switch (message) {
        case WM_SETTEXT:
            return std::string("WM_SETTEXT ") + (lParam ? reinterpret_cast<const char*>(lParam) : "");
        case WM_GETTEXTLENGTH: return "WM_GETTEXTLENGTH";
        case WM_GETTEXT: return "WM_GETTEXT";
        case WM_CHAR: return std::string("WM_CHAR ") + code;
        case WM_KEYDOWN: return std::string("WM_KEYDOWN ") + code;
        case WM_KEYUP: return std::string("WM_KEYUP ") + code;
        case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP: return "WM_LBUTTONUP";
        default: return {};
    }
}

std::string TextThrough(WNDPROC procedure, HWND window) {
    const LRESULT length = CallWindowProcA(procedure, window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = CallWindowProcA(procedure, window, WM_GETTEXT, text.size(),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace tobla::sim
