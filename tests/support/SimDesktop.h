#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/Interfaces.h"

namespace tobla::test {

// An in-memory desktop: windows with a class, a caption and a child order that
// answer the text messages as Windows does and record everything asked of them,
// in order, as readable lines:
//   "find CLASS = H", "child P after A CLASS = H",
//   "send H MSG W L", "settext H TEXT", "gettext H N", "yield".
class SimDesktop : public ForeignWindows {
public:
    using Reply = std::function<std::int32_t(std::uint32_t message, std::uint32_t wParam,
                                             std::int32_t lParam)>;

    WindowHandle Add(const std::string& className, WindowHandle parent = 0,
                     const std::string& caption = {});
    void Remove(WindowHandle window);  // the window and its children vanish
    void SetCaption(WindowHandle window, const std::string& caption);
    std::string Caption(WindowHandle window) const;
    // What the window answers to WM_GETTEXTLENGTH instead of its caption's length.
    void SetReportedLength(WindowHandle window, std::int32_t length);
    // The answer to every other message (the default answers 0).
    void SetReply(WindowHandle window, Reply reply);
    // A hung window makes every message to it fail.
    void SetHung(WindowHandle window, bool hung);

    // Runs at each yield (after it is recorded).
    std::function<void()> onYield;
    std::vector<std::string> trace;
    // The trace without the find/child lines: just what windows received, and yields.
    std::vector<std::string> Messages() const;
    void ClearTrace() { trace.clear(); }

    WindowHandle FindTopLevel(const std::string& className) override;
    WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                           const std::string& className) override;
    std::int32_t Send(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                      std::int32_t lParam) override;
    void SetText(WindowHandle window, const std::string& text) override;
    std::string GetTextBuffer(WindowHandle window, std::uint32_t length) override;
    void YieldEvents() override;

private:
    struct Window {
        std::string className;
        WindowHandle parent = 0;
        std::string caption;
        std::optional<std::int32_t> reportedLength;
        Reply reply;
        bool hung = false;
    };
    Window* Find(WindowHandle window);
    void ThrowIfHung(WindowHandle window);
    std::vector<WindowHandle> ChildrenOf(WindowHandle parent) const;

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowHandle> order_;  // creation order is the z-order walked by finds
    WindowHandle next_ = 0x100;
};

}  // namespace tobla::test
