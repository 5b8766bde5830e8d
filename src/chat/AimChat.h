#pragma once
#include <string>

#include "core/Interfaces.h"

// The AIM client's chat window: a top-level window, typed into through its entry box
// and its send button.
namespace tobla {

// The first top-level "AIM_ChatWnd" window, or 0.
WindowHandle AimFindRoom(ForeignWindows& windows);
// Sets the AIM chat window's entry box to the text and clicks its send button, then
// puts back what the user had typed there. Throws OperationFailed when the box's
// text cannot be read (before changing anything), or when a message of the send
// fails (after the user's text has been put back).
void AimRoomSend(ForeignWindows& windows, const std::string& sendString);

// The AIM chat window as a chat target.
class AimChatWindow : public ChatTarget {
public:
    explicit AimChatWindow(ForeignWindows& windows) : windows_(windows) {}
    bool IsOpen() override { return AimFindRoom(windows_) != 0; }
    void Send(const std::string& line) override { AimRoomSend(windows_, line); }

private:
    ForeignWindows& windows_;
};

}  // namespace tobla
