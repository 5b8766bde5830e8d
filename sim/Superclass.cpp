#include "Superclass.h"

#include <cstdio>

#include "win32/WideText.h"

namespace tobla::sim {
namespace {

// The real control's class under another name, with the wrapper as its procedure.
template <typename Class, typename Name>
Class Copy(Class real, WNDPROC wrapper, Name name) {
    real.style &= ~CS_GLOBALCLASS;
    real.hInstance = GetModuleHandleA(nullptr);
    real.lpfnWndProc = wrapper;
    real.lpszClassName = name;
    real.lpszMenuName = nullptr;
    return real;
}

}  // namespace

WNDPROC RegisterSuperclass(const char* base, const char* name, WNDPROC wrapper, Charset charset) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const bool registered = IsRegistered(name, wrapper, charset);
    if (!registered) UnregisterClassA(name, instance);  // the other charset's, if any
    if (charset == Charset::Unicode) {
        WNDCLASSW real{};
        if (!GetClassInfoW(instance, Wide(base).c_str(), &real)) return nullptr;
        const std::wstring wideName = Wide(name);
        const WNDCLASSW copy = Copy(real, wrapper, wideName.c_str());
        if (!registered) RegisterClassW(&copy);
        return real.lpfnWndProc;
    }
    WNDCLASSA real{};
    if (!GetClassInfoA(instance, base, &real)) return nullptr;
    const WNDCLASSA copy = Copy(real, wrapper, name);
    if (!registered) RegisterClassA(&copy);
    return real.lpfnWndProc;
}

LRESULT CallThrough(WNDPROC procedure, Charset charset, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    return charset == Charset::Unicode
               ? CallWindowProcW(procedure, window, message, wParam, lParam)
               : CallWindowProcA(procedure, window, message, wParam, lParam);
}

LRESULT CallWithText(WNDPROC procedure, Charset charset, HWND window, UINT message, WPARAM wParam,
                     const std::string& text) {
    if (charset == Charset::Ansi)
        return CallWindowProcA(procedure, window, message, wParam,
                               reinterpret_cast<LPARAM>(text.c_str()));
    const std::wstring units = Wide(text);
    return CallWindowProcW(procedure, window, message, wParam,
                           reinterpret_cast<LPARAM>(units.c_str()));
}

std::string DescribeInput(UINT message, WPARAM wParam, LPARAM lParam, Charset charset) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(wParam));
    switch (message) {
        case WM_SETTEXT:
            if (!lParam) return "WM_SETTEXT ";
            if (charset == Charset::Unicode)
                return "WM_SETTEXT " + Utf8(reinterpret_cast<const wchar_t*>(lParam));
            return std::string("WM_SETTEXT ") + reinterpret_cast<const char*>(lParam);
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

std::string TextThrough(WNDPROC procedure, HWND window, Charset charset) {
    const LRESULT length = CallThrough(procedure, charset, window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    if (charset == Charset::Unicode) {
        std::wstring units(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT got = CallWindowProcW(procedure, window, WM_GETTEXT, units.size(),
                                            reinterpret_cast<LPARAM>(units.data()));
        return Utf8(units.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = CallWindowProcA(procedure, window, WM_GETTEXT, text.size(),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace tobla::sim
