#pragma once
#include <windows.h>

#include <string>

#include "PeerThread.h"

namespace tobla::sim {

// Registers `name` (once per process) as a copy of the real control class `base`,
// with `wrapper` as its window procedure, so that a window of the new class is the
// real control under another name. Returns the real control's procedure in that
// charset, to which the wrapper hands every message on (CallThrough). Returns nullptr
// when the real class does not exist.
WNDPROC RegisterSuperclass(const char* base, const char* name, WNDPROC wrapper,
                           Charset charset = Charset::Ansi);

// CallWindowProcA or CallWindowProcW, as the charset of the procedure asks.
LRESULT CallThrough(WNDPROC procedure, Charset charset, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam);
// The same with a text (UTF-8 for a Unicode procedure) as lParam.
LRESULT CallWithText(WNDPROC procedure, Charset charset, HWND window, UINT message, WPARAM wParam,
                     const std::string& text);

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
// "WM_CHAR 0x0D", ...; a Unicode window's text in UTF-8); empty for messages not
// worth recording.
std::string DescribeInput(UINT message, WPARAM wParam, LPARAM lParam,
                          Charset charset = Charset::Ansi);

// The whole text of a window, read through the procedure given (so that a wrapper
// can read its own control's text without seeing the read as input); a Unicode
// procedure's in UTF-8.
std::string TextThrough(WNDPROC procedure, HWND window, Charset charset = Charset::Ansi);

}  // namespace tobla::sim
