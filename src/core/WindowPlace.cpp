#include "core/WindowPlace.h"

#include <algorithm>
#include <charconv>

namespace tobla {

int StoredCoordinate(const std::string& text) {
    constexpr long long kFarthest = 1 << 24;
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<int>(std::clamp(value, -kFarthest, kFarthest));
}

ScreenRect PlaceInWorkArea(const ScreenRect& window, const ScreenRect& workArea) {
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int left = std::max(workArea.left, std::min(window.left, workArea.right - width));
    const int top = std::max(workArea.top, std::min(window.top, workArea.bottom - height));
    return {left, top, left + width, top + height};
}

}  // namespace tobla
