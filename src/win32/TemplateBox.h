#pragma once
#include <windows.h>

namespace tobla {

// The notification code of the WM_COMMAND that the template box sends the window when
// Enter is typed in it: apart from the combo box's own CBN_ codes.
inline constexpr WORD kTemplateBoxEnter = 0x0100;

// Catches Enter in the template box, in the box's edit field, where its keys arrive.
void CatchEnter(HWND templateBox);

}  // namespace tobla
