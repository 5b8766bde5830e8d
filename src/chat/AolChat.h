#pragma once
#include <string>

#include "core/Interfaces.h"

// The AOL client's chat room: found among the client's document windows, typed into
// through its entry box.
namespace tobla {

namespace toolkit {
// The first "AOL Child" document window of the AOL client that holds all five
// chat-room controls, or 0.
WindowHandle FindChatRoom(ForeignWindows& windows);
// Types the text into the open chat room's entry box, then puts back what the
// user had typed there. Throws OperationFailed when the box's text cannot be read
// (before changing anything), or when a message of the send fails (after the
// user's text has been put back).
void SendChat(ForeignWindows& windows, const std::string& text);
}  // namespace toolkit

// The open AOL chat room as a chat target.
class AolChatRoom : public ChatTarget {
public:
    explicit AolChatRoom(ForeignWindows& windows) : windows_(windows) {}
    bool IsOpen() override { return toolkit::FindChatRoom(windows_) != 0; }
    void Send(const std::string& line) override { toolkit::SendChat(windows_, line); }

private:
    ForeignWindows& windows_;
};

}  // namespace tobla
