#include "chat/AolChat.h"

#include <array>

#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/WindowText.h"

namespace tobla::toolkit {
namespace {

constexpr const char* kFrameClass = "AOL Frame25";
constexpr const char* kDocumentAreaClass = "MDIClient";
constexpr const char* kDocumentClass = "AOL Child";
constexpr const char* kEntryBoxClass = "RICHCNTL";
// The controls that together mark a document window as a chat room, in the order
// they are looked up.
constexpr std::array<const char*, 5> kChatRoomClasses = {"_AOL_Icon", "_AOL_Static", "_AOL_Listbox",
                                                         "_AOL_Combobox", kEntryBoxClass};

// The walk follows the document windows one by one, yielding between them, so a
// client that keeps opening windows (or reshuffles them while we look) could keep
// it going for ever. No AOL session has anywhere near this many windows open.
constexpr int kMaxDocumentWindows = 1000;

// Empties the entry box, types the line with a blank and a carriage return, and
// empties the box again.
void TypeLine(ForeignWindows& windows, WindowHandle box, const std::string& text) {
    windows.SetText(box, "");
    windows.YieldEvents();
    windows.SetText(box, text);
    windows.YieldEvents();
    windows.Send(box, msg::kChar, msg::kBlank, /*lParam=*/0);
    windows.YieldEvents();
    windows.Send(box, msg::kChar, msg::kCarriageReturn, /*lParam=*/0);
    windows.YieldEvents();
    windows.YieldEvents();
    windows.SetText(box, "");
    windows.YieldEvents();
}

}  // namespace

WindowHandle FindChatRoom(ForeignWindows& windows) {
    WindowHandle previous = 0;
    for (int pass = 0; pass < kMaxDocumentWindows; ++pass) {
        windows.YieldEvents();
        const WindowHandle frame = windows.FindTopLevel(kFrameClass);
        const WindowHandle area = windows.FindChild(frame, 0, kDocumentAreaClass);
        const WindowHandle child = windows.FindChild(area, previous, kDocumentClass);
        previous = child;
        bool all = true;
        for (const char* className : kChatRoomClasses)
            if (windows.FindChild(child, 0, className) == 0) all = false;
        if (child == 0) return 0;
        if (all) return child;
    }
    return 0;
}

void SendChat(ForeignWindows& windows, const std::string& text) {
    if (FindChatRoom(windows) == 0) return;
    // The room is looked up anew for each lookup below. Should it close during
    // those walks, stop: a lookup under 0 would search the top-level windows and
    // could type into some other program's box.
    const WindowHandle firstRoom = FindChatRoom(windows);
    if (firstRoom == 0) return;
    const WindowHandle first = windows.FindChild(firstRoom, 0, kEntryBoxClass);
    const WindowHandle secondRoom = FindChatRoom(windows);
    if (secondRoom == 0) return;
    const WindowHandle second = windows.FindChild(secondRoom, first, kEntryBoxClass);
    const WindowHandle box = second != 0 ? second : first;

    // Read before anything changes: a box whose text cannot be read stops the send.
    const std::string saved = GetText(windows, box);
    // Once read, the user's half-typed line always goes back, even when a slow client
    // let a message in between run out of time.
    const bool typed = Guarded([&] { TypeLine(windows, box, text); });
    windows.SetText(box, saved);
    if (!typed) throw OperationFailed("the chat room did not take the line");
}

}  // namespace tobla::toolkit
