#pragma once
#include <windows.h>

namespace tobla {

// A label or picture that answers a click (a link, the colour swatch) answers the
// keyboard too: Tab reaches it, it shows when it has the focus, and Space or Enter on
// it sends its parent STN_CLICKED, as a click does.
void MakeClickable(HWND control);

// The pointer over such a control: the hand of a link.
void ShowHandCursor();

}  // namespace tobla
