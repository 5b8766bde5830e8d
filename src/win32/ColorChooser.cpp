#include "win32/ColorChooser.h"

#include <commdlg.h>

#include "win32/SystemLibrary.h"

namespace tobla {
namespace {

// The colour dialog's library is loaded when the dialog is first asked for, not with
// the program: most runs never open it, and loading it slowed every start. It is
// loaded from the system folder by its full path, whatever the DLL search.
BOOL ShowColorDialog(CHOOSECOLORW& dialog) {
    HMODULE library = GetModuleHandleA("comdlg32.dll");
    if (!library) library = LoadSystemLibrary("comdlg32.dll");  // kept for the rest of the run
    const auto choose = SystemFunction<::ChooseColorW>(library, "ChooseColorW");
    return choose && choose(&dialog);
}

// The colour dialog has no title field: its hook names it.
UINT_PTR CALLBACK NameColorDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) SetWindowTextW(dialog, L"Choose a Color");
    return 0;
}

}  // namespace

std::optional<COLORREF> ColorChooser::Choose(HWND owner) {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = lastConfirmed_;
    dialog.lpCustColors = customColors_;
    dialog.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    dialog.lpfnHook = &NameColorDialog;
    if (!ShowColorDialog(dialog)) return std::nullopt;
    lastConfirmed_ = dialog.rgbResult;
    return dialog.rgbResult;
}

}  // namespace tobla
