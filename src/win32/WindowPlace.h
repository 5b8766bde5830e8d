#pragma once
#include <windows.h>

#include "core/WindowSettings.h"

// The window's place on the desktop, kept in the settings as its top-left corner
// ("left", "top"): the size is the layout's.
namespace tobla {

// Moves the window to the stored corner when it lies wholly in the work area of a
// screen there now; otherwise to the nearest place on the nearest screen. Without a
// stored corner (a first start) the window stays where the system put it.
void RestoreWindowPlace(HWND window, WindowSettings& settings);

// Kept when the program ends and after the user moves the window, not for every pixel
// of a move. A click on the title bar ends a move too: the file is written only for a
// new place. A minimised window has no place of its own to keep.
void SaveWindowPlace(HWND window, WindowSettings& settings);

}  // namespace tobla
