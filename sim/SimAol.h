#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "PeerThread.h"

namespace tobla::sim {

struct SimAolOptions {
    int entryBoxes = 1;             // "RICHCNTL" boxes in the chat room: 1 or 2
    bool decoysBeforeRoom = false;  // document windows lacking a chat-room class, ahead of it
    bool visible = false;           // shown on screen, the transcript readable
    // Called on the client's thread with each line submitted to the room.
    std::function<void(const std::string&)> onLine = nullptr;
    // The client closes all its windows right after handling the first input
    // message of the entry box recorded with this beginning (see Messages()), as a
    // user quitting AOL in the middle of an announcement. Empty: never.
    std::string vanishAfter = {};
    // The client handles the first input message of the entry box recorded with this
    // beginning, then takes stallMs before it answers: slow, not gone. Empty: never.
    std::string stallAfter = {};
    DWORD stallMs = 0;
};

// The 32-bit AOL client as far as Tobla sees it: a top-level "AOL Frame25" window
// whose "MDIClient" holds "AOL Child" document windows, one of them a chat room with
// "_AOL_Icon", "_AOL_Static", "_AOL_Listbox" (the room's transcript), "_AOL_Combobox"
// and "RICHCNTL" (rich edit) controls. All are real controls under those class names,
// hosted on the client's own thread.
//
// The room's entry box (its last "RICHCNTL") submits on a typed carriage return, as
// the client does: its text, without surrounding blanks, becomes a transcript line
// (nothing when that leaves it empty), and the box is emptied. The carriage return
// itself is not put into the box; every other character goes to the rich edit.
class SimAolClient {
public:
    explicit SimAolClient(SimAolOptions options = {});
    ~SimAolClient();  // destroys the windows on the client's thread
    SimAolClient(const SimAolClient&) = delete;
    SimAolClient& operator=(const SimAolClient&) = delete;

    std::vector<std::string> Transcript();
    std::string EntryText();
    void SetEntryText(const std::string& text);
    // Every input message the entry box received, in order: "WM_GETTEXTLENGTH",
    // "WM_GETTEXT", "WM_SETTEXT <text>", "WM_CHAR 0x20", "WM_CHAR 0x0D", ...
    // (the client's own reads and writes of the box are not recorded).
    Record& Messages() { return messages_; }
    bool WaitForLine(const std::string& substring, DWORD timeoutMs = 5000);
    bool WaitForLine(const std::function<bool(const std::string&)>& test, DWORD timeoutMs = 5000);

    HWND Frame() const { return frame_; }
    HWND Room() const { return room_; }
    HWND EntryBox() const { return entry_; }

private:
    static LRESULT CALLBACK EntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEntryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    // place: left, top, width, height in the document area.
    HWND AddDocument(const char* title, RECT place, bool withListbox, int entryBoxes);
    void Submit();
    void VanishIfAsked(const std::string& input);
    void StallIfAsked(const std::string& input);

    SimAolOptions options_;
    Record messages_;
    Record transcript_;
    HWND frame_ = nullptr, area_ = nullptr, room_ = nullptr, list_ = nullptr, entry_ = nullptr;
    bool vanished_ = false;  // client thread only
    bool stalled_ = false;   // client thread only
    PeerThread peer_;        // last: joined before the members above go
};

}  // namespace tobla::sim
