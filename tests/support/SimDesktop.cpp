#include "support/SimDesktop.h"

#include <algorithm>

#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"

namespace tobla::test {

WindowHandle SimDesktop::Add(const std::string& className, WindowHandle parent,
                             const std::string& caption) {
    const WindowHandle handle = next_++;
    windows_[handle] = Window{className, parent, caption, std::nullopt, nullptr, false};
    order_.push_back(handle);
    return handle;
}

void SimDesktop::Remove(WindowHandle window) {
    for (WindowHandle child : ChildrenOf(window)) Remove(child);
    windows_.erase(window);
    order_.erase(std::remove(order_.begin(), order_.end(), window), order_.end());
}

void SimDesktop::SetCaption(WindowHandle window, const std::string& caption) {
    if (auto* w = Find(window)) w->caption = caption;
}

std::string SimDesktop::Caption(WindowHandle window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? std::string() : it->second.caption;
}

void SimDesktop::SetReportedLength(WindowHandle window, std::int32_t length) {
    if (auto* w = Find(window)) w->reportedLength = length;
}

void SimDesktop::SetReply(WindowHandle window, Reply reply) {
    if (auto* w = Find(window)) w->reply = std::move(reply);
}

void SimDesktop::SetHung(WindowHandle window, bool hung) {
    if (auto* w = Find(window)) w->hung = hung;
}

std::vector<std::string> SimDesktop::Messages() const {
    std::vector<std::string> out;
    for (const auto& line : trace)
        if (line.rfind("find ", 0) != 0 && line.rfind("child ", 0) != 0) out.push_back(line);
    return out;
}

WindowHandle SimDesktop::FindTopLevel(const std::string& className) {
    return FindChild(0, 0, className);
}

WindowHandle SimDesktop::FindChild(WindowHandle parent, WindowHandle after,
                                   const std::string& className) {
    const auto siblings = ChildrenOf(parent);
    auto it = siblings.begin();
    if (after != 0) {
        it = std::find(siblings.begin(), siblings.end(), after);
        if (it != siblings.end()) ++it;
    }
    WindowHandle found = 0;
    for (; it != siblings.end(); ++it)
        if (windows_.at(*it).className == className) {
            found = *it;
            break;
        }
    if (parent == 0 && after == 0)
        trace.push_back("find " + className + " = " + std::to_string(found));
    else
        trace.push_back("child " + std::to_string(parent) + " after " + std::to_string(after) +
                        " " + className + " = " + std::to_string(found));
    return found;
}

std::int32_t SimDesktop::Send(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                              std::int32_t lParam) {
    trace.push_back("send " + std::to_string(window) + " " + std::to_string(message) + " " +
                    std::to_string(wParam) + " " + std::to_string(lParam));
    ThrowIfHung(window);
    Window* w = Find(window);
    if (!w) return 0;
    if (message == msg::kGetTextLength)
        return w->reportedLength.value_or(static_cast<std::int32_t>(w->caption.size()));
    return w->reply ? w->reply(message, wParam, lParam) : 0;
}

void SimDesktop::SetText(WindowHandle window, const std::string& text) {
    trace.push_back("settext " + std::to_string(window) + " " + text);
    ThrowIfHung(window);
    if (Window* w = Find(window)) w->caption = text.substr(0, text.find('\0'));
}

std::string SimDesktop::GetTextBuffer(WindowHandle window, std::uint32_t length) {
    trace.push_back("gettext " + std::to_string(window) + " " + std::to_string(length + 1));
    ThrowIfHung(window);
    std::string buffer(length, '\0');
    if (Window* w = Find(window))
        std::copy_n(w->caption.begin(), std::min<std::size_t>(length, w->caption.size()),
                    buffer.begin());
    return buffer;
}

void SimDesktop::YieldEvents() {
    trace.push_back("yield");
    if (onYield) onYield();
}

SimDesktop::Window* SimDesktop::Find(WindowHandle window) {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

void SimDesktop::ThrowIfHung(WindowHandle window) {
    if (const Window* w = Find(window); w && w->hung) throw OperationFailed("hung");
}

std::vector<WindowHandle> SimDesktop::ChildrenOf(WindowHandle parent) const {
    std::vector<WindowHandle> children;
    for (WindowHandle h : order_)
        if (windows_.at(h).parent == parent) children.push_back(h);
    return children;
}

}  // namespace tobla::test
