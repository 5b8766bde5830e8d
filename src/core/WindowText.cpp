#include "core/WindowText.h"

#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"

namespace tobla {
namespace {

std::string ReadText(ForeignWindows& windows, WindowHandle window, std::int32_t limit) {
    if (window == 0) return {};
    const std::int32_t length = windows.Send(window, msg::kGetTextLength, 0, 0);
    if (length < 0 || length >= limit) throw OperationFailed("window text length out of range");
    return windows.GetTextBuffer(window, static_cast<std::uint32_t>(length));
}

}  // namespace

std::string GetText(ForeignWindows& windows, WindowHandle window) {
    return ReadText(windows, window, 32767);
}

namespace winampApi {
std::string GetWindowCaption(ForeignWindows& windows, WindowHandle window) {
    return ReadText(windows, window, kMaxTextLength + 1);
}
}  // namespace winampApi

}  // namespace tobla
