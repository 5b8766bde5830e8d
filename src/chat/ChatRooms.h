#pragma once
#include <string>

#include "core/Interfaces.h"

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

// The first top-level "AIM_ChatWnd" window, or 0.
WindowHandle AimFindRoom(ForeignWindows& windows);
// Sets the AIM chat window's entry box to the text and clicks its send button, then
// puts back what the user had typed there. Throws OperationFailed when the box's
// text cannot be read (before changing anything), or when a message of the send
// fails (after the user's text has been put back).
void AimRoomSend(ForeignWindows& windows, const std::string& sendString);

// The two clients as the poll cycle's chat targets.
class ClientChatTargets : public ChatTargets {
public:
    explicit ClientChatTargets(ForeignWindows& windows) : windows_(windows) {}
    void SendChat(const std::string& text) override { toolkit::SendChat(windows_, text); }
    WindowHandle AimFindRoom() override { return tobla::AimFindRoom(windows_); }
    void AimRoomSend(const std::string& text) override { tobla::AimRoomSend(windows_, text); }

private:
    ForeignWindows& windows_;
};

}  // namespace tobla
