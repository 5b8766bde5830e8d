// The start-up floor of the benchmark: the least a program does to put a window on
// the screen. It registers a class, creates a top-most window of Tobla's style and
// size, shows it, and waits for messages until it is terminated. It is linked as
// Tobla.exe is (static runtime, GUI subsystem), with kernel32, user32 and gdi32 only.
#include <windows.h>

namespace {

constexpr const char* kClassName = "ToblaBareWindow";

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Tobla's client area, 5850 x 1635 twips, in pixels at the system's DPI.
SIZE FrameSize(DWORD style, DWORD exStyle) {
    HDC dc = GetDC(/*hWnd=*/nullptr);
    RECT frame{0, 0, MulDiv(5850, GetDeviceCaps(dc, LOGPIXELSX), 1440),
               MulDiv(1635, GetDeviceCaps(dc, LOGPIXELSY), 1440)};
    ReleaseDC(/*hWnd=*/nullptr, dc);
    AdjustWindowRectEx(&frame, style, /*bMenu=*/FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(/*hInstance=*/nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const SIZE size = FrameSize(style, WS_EX_TOPMOST);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Bare window", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, size.cx, size.cy, /*hWndParent=*/nullptr,
                                  /*hMenu=*/nullptr, instance, /*lpParam=*/nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, /*hWnd=*/nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
