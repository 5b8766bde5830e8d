#pragma once
#include <string>

namespace tobla {

// A rectangle on the desktop, in pixels; right and bottom lie just outside it.
struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

// A coordinate of the window's stored place. No screen lies 16 million pixels out: a
// number beyond that (or none) is no nearer one, and the window is moved onto a screen
// anyway.
int StoredCoordinate(const std::string& text);

// The window, of its own size, moved the least that puts it wholly in the work area of
// a screen: a screen unplugged since, or a smaller desktop, would leave it out of
// reach. A window larger than the work area keeps its top-left corner, and with it
// the title bar, in reach.
ScreenRect PlaceInWorkArea(const ScreenRect& window, const ScreenRect& workArea);

}  // namespace tobla
