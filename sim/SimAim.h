#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "PeerThread.h"

namespace tobla::sim {

struct SimAimOptions {
    int buttons = 5;       // "_Oscar_IconBtn" buttons; the fifth is the send button
    bool visible = false;  // shown on screen, the transcript readable
    // Called on the client's thread with each line sent to the chat.
    std::function<void(const std::string&)> onLine = nullptr;
    // The client closes its chat window right after handling the first input
    // message recorded with this beginning (see Messages()), as a user closing the
    // chat in the middle of an announcement. Empty: never.
    std::string vanishAfter = {};
    // A Unicode client: its classes registered with RegisterClassW, its boxes Unicode
    // edit controls. Transcript, EntryText, SetEntryText and the recorded messages
    // then speak UTF-8.
    Charset charset = Charset::Ansi;
};

// An AIM chat window as far as Tobla sees it: a top-level "AIM_ChatWnd" window with
// two "WndAte32Class" boxes (real edit controls: a read-only transcript, then the
// entry box) and icon buttons of class "_Oscar_IconBtn" (real push buttons), hosted
// on the client's own thread.
//
// A click on the fifth button (a WM_LBUTTONDOWN, then a WM_LBUTTONUP) sends the entry
// box's text: it becomes a transcript line (nothing when the box is empty) and the
// box is emptied. The other buttons do nothing.
class SimAimClient {
public:
    explicit SimAimClient(SimAimOptions options = {});
    ~SimAimClient();  // destroys the window on the client's thread
    SimAimClient(const SimAimClient&) = delete;
    SimAimClient& operator=(const SimAimClient&) = delete;

    std::vector<std::string> Transcript();
    std::string EntryText();
    void SetEntryText(const std::string& text);
    // Every input message the entry box and the buttons received, in order:
    // "WM_SETTEXT <text>", "WM_LBUTTONDOWN btn5", "WM_LBUTTONUP btn5", ...
    // (the client's own reads and writes of the box are not recorded).
    Record& Messages() { return messages_; }
    bool WaitForLine(const std::string& substring, DWORD timeoutMs = 5000);
    bool WaitForLine(const std::function<bool(const std::string&)>& test, DWORD timeoutMs = 5000);

    HWND Window() const { return window_; }
    HWND EntryBox() const { return entry_; }
    HWND Button(int n) const { return buttons_.at(n - 1); }  // 1-based

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void SendEntry();
    void VanishIfAsked(const std::string& input);

    SimAimOptions options_;
    Record messages_;
    Record transcript_;
    HWND window_ = nullptr, history_ = nullptr, entry_ = nullptr;
    std::vector<HWND> buttons_;
    bool sendPressed_ = false;  // the send button got a WM_LBUTTONDOWN (client thread only)
    bool sentOnClick_ = false;  // the button itself reported the click
    bool vanished_ = false;     // client thread only
    PeerThread peer_;           // last: joined before the members above go
};

}  // namespace tobla::sim
