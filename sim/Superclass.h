#pragma once
#include <windows.h>

#include <string>

namespace tobla::sim {

// Registers `name` (once per process) as a copy of the real control class `base`,
// with `wrapper` as its window procedure, so that a window of the new class is the
// real control under another name. Returns the real control's procedure, to which
// the wrapper hands every message on with CallWindowProcA. Returns nullptr when the
// real class does not exist.
WNDPROC RegisterSuperclass(const char* base, const char* name, WNDPROC wrapper);

// A wrapper that adds nothing: the control under another name.
template <int Id>
struct PlainSuperclass {
    static inline WNDPROC base = nullptr;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcA(base, window, message, wParam, lParam);
    }
    static void Register(const char* baseClass, const char* name) {
        base = RegisterSuperclass(baseClass, name, &Proc);
    }
};

// A readable line for a message a simulated client records ("WM_SETTEXT text",
// "WM_CHAR 0x0D", ...); empty for messages not worth recording.
std::string DescribeInput(UINT message, WPARAM wParam, LPARAM lParam);

// The whole text of a window, read through the procedure given (so that a wrapper
// can read its own control's text without seeing the read as input).
std::string TextThrough(WNDPROC procedure, HWND window);

}  // namespace tobla::sim
