#include "win32/TemplateBox.h"

#include "win32/Win32Controls.h"

namespace tobla {
namespace {

LRESULT CALLBACK TemplateEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool enter = wParam == VK_RETURN;
    if (message == WM_GETDLGCODE && lParam && enter &&
        reinterpret_cast<MSG*>(lParam)->message != WM_KEYUP)
        return CallOwnProcedure(edit, message, wParam, lParam) | DLGC_WANTMESSAGE;
    // The typed Enter is swallowed (no beep, nothing reaches the box), but the key
    // goes on, so Enter on the open list closes it with its highlighted entry, as a
    // combo box does: on the key, or (Wine) on the character, which then goes on too.
    if (message == WM_CHAR && wParam == '\r') {
        HWND box = GetParent(edit);
        if (SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0))
            CallOwnProcedure(edit, message, wParam, lParam);
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), kTemplateBoxEnter),
                     reinterpret_cast<LPARAM>(box));
        return 0;
    }
    return CallOwnProcedure(edit, message, wParam, lParam);
}

}  // namespace

void CatchEnter(HWND templateBox) { Subclass(GetWindow(templateBox, GW_CHILD), &TemplateEditProc); }

}  // namespace tobla
