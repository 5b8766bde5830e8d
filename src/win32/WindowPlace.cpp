#include "win32/WindowPlace.h"

#include "core/OperationFailed.h"
#include "core/WindowPlace.h"

namespace tobla {

void RestoreWindowPlace(HWND window, WindowSettings& settings) {
    const std::string left = settings.Read("left"), top = settings.Read("top");
    if (left.empty() || top.empty()) return;
    RECT place;
    GetWindowRect(window, &place);
    const int width = place.right - place.left, height = place.bottom - place.top;
    place.left = StoredCoordinate(left);
    place.top = StoredCoordinate(top);
    place.right = place.left + width;
    place.bottom = place.top + height;
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    if (!GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &screen)) return;
    const RECT& work = screen.rcWork;
    const ScreenRect moved = PlaceInWorkArea({place.left, place.top, place.right, place.bottom},
                                             {work.left, work.top, work.right, work.bottom});
    SetWindowPos(window, /*hWndInsertAfter=*/nullptr, moved.left, moved.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPlace(HWND window, WindowSettings& settings) {
    RECT place;
    if (IsIconic(window) || !GetWindowRect(window, &place)) return;
    Guarded([&] {
        settings.WriteIfChanged("left", std::to_string(place.left));
        settings.WriteIfChanged("top", std::to_string(place.top));
    });
}

}  // namespace tobla
