#include "win32/ClickableLabel.h"

#include "win32/Scoped.h"
#include "win32/Win32Controls.h"

namespace tobla {
namespace {

// The control paints itself into the paint's DC and the focus rectangle goes over it,
// in the same clip: a repaint of part of the control leaves the rectangle whole.
void PaintWithFocus(HWND control) {
    const PaintDC dc(control);
    CallOwnProcedure(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    if (GetFocus() != control) return;
    RECT area;
    GetClientRect(control, &area);
    DrawFocusRect(dc.get(), &area);
}

bool IsPress(UINT keyMessage, WPARAM key) {
    return (keyMessage == WM_KEYDOWN && (key == VK_SPACE || key == VK_RETURN)) ||
           (keyMessage == WM_CHAR && (key == ' ' || key == '\r'));
}

// The control asks for both keys and their characters: Enter would otherwise go to
// the window as its default button, a character to a mnemonic.
LRESULT CALLBACK ClickableProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE && lParam) {
        const auto& key = *reinterpret_cast<const MSG*>(lParam);
        if (IsPress(key.message, key.wParam)) return DLGC_WANTMESSAGE;
    }
    constexpr LPARAM kHeldDown = 1 << 30;  // a key's repeat clicks no second time
    if (message == WM_KEYDOWN && IsPress(message, wParam) && !(lParam & kHeldDown)) {
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), STN_CLICKED),
                     reinterpret_cast<LPARAM>(control));
        return 0;
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) InvalidateRect(control, nullptr, FALSE);
    if (message == WM_PAINT && !wParam) {
        PaintWithFocus(control);
        return 0;
    }
    return CallOwnProcedure(control, message, wParam, lParam);
}

}  // namespace

void MakeClickable(HWND control) { Subclass(control, &ClickableProc); }

void ShowHandCursor() { SetCursor(LoadCursorA(nullptr, IDC_HAND)); }

}  // namespace tobla
