#include "SimAol.h"

#include "Superclass.h"

namespace tobla::sim {
namespace {

constexpr const char* kInstanceProp = "ToblaSimAolClient";
constexpr const char* kFrameClass = "AOL Frame25";
constexpr const char* kDocumentClass = "AOL Child";
constexpr const char* kEntryClass = "RICHCNTL";
constexpr std::size_t kShownLength = 256;

using Icon = PlainSuperclass<1>;
using Static = PlainSuperclass<2>;
using Listbox = PlainSuperclass<3>;
using Combobox = PlainSuperclass<4>;
WNDPROC gRichEditProc = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND area = FindWindowExA(window, nullptr, "MDIClient", nullptr);
    return DefFrameProcA(window, area, message, wParam, lParam);
}

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefMDIChildProcA(window, message, wParam, lParam);
}

const char* RichEditClass() {
    if (LoadLibraryA("riched20.dll")) {
        WNDCLASSA probe;
        if (GetClassInfoA(GetModuleHandleA(nullptr), "RichEdit20A", &probe)) return "RichEdit20A";
    }
    LoadLibraryA("riched32.dll");
    return "RICHEDIT";
}

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

HWND Control(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
             HWND parent) {
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

SimAolClient::SimAolClient(SimAolOptions options) : options_(std::move(options)) {
    peer_.Run([this] { Create(); });
}

SimAolClient::~SimAolClient() {
    peer_.Run([this] {
        if (vanished_) return;
        RemovePropA(entry_, kInstanceProp);
        DestroyWindow(frame_);
    });
}

void SimAolClient::Create() {
    RegisterClassOnce(kFrameClass, FrameProc);
    RegisterClassOnce(kDocumentClass, DocumentProc);
    Icon::Register("Button", "_AOL_Icon");
    Static::Register("Static", "_AOL_Static");
    Listbox::Register("ListBox", "_AOL_Listbox");
    Combobox::Register("ComboBox", "_AOL_Combobox");
    gRichEditProc = RegisterSuperclass(RichEditClass(), kEntryClass, &EntryProc);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    frame_ =
        CreateWindowExA(0, kFrameClass, "America Online", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20,
                        20, 880, 440, nullptr, nullptr, instance, nullptr);
    CLIENTCREATESTRUCT client{/*hWindowMenu=*/nullptr, /*idFirstChild=*/0xFF00};
    RECT inside;
    GetClientRect(frame_, &inside);
    area_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", nullptr,
                            WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, inside.right,
                            inside.bottom, frame_, nullptr, instance, &client);

    room_ = AddDocument("Town Square - Lobby 42", {0, 0, 600, 360}, true,
                        options_.entryBoxes < 2 ? 1 : 2);
    if (options_.decoysBeforeRoom) {
        // New document windows go on top, so both come before the room in the walk;
        // they sit beside it, leaving the transcript in sight.
        AddDocument("Buddy List", {610, 0, 240, 170}, true, 0);
        AddDocument("Instant Message", {610, 180, 240, 170}, false, 1);
    }
    if (options_.visible) {
        ShowWindow(frame_, SW_SHOWNOACTIVATE);
        UpdateWindow(frame_);
    }
}

HWND SimAolClient::AddDocument(const char* title, RECT place, bool withListbox, int entryBoxes) {
    MDICREATESTRUCTA create{};
    create.szClass = kDocumentClass;
    create.szTitle = title;
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = place.left;
    create.y = place.top;
    create.cx = place.right;
    create.cy = place.bottom;
    HWND doc = reinterpret_cast<HWND>(
        SendMessageA(area_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    HWND list = nullptr;
    if (withListbox)
        list = Control("_AOL_Listbox", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10,
                       420, 220, doc);
    Control("_AOL_Static", title, 0, 440, 10, 140, 20, doc);
    Control("_AOL_Combobox", "", CBS_DROPDOWNLIST, 440, 40, 140, 120, doc);
    Control("_AOL_Icon", "Send", BS_PUSHBUTTON, 440, 280, 140, 30, doc);
    HWND box = nullptr;
    for (int i = 0; i < entryBoxes; ++i) {
        const bool last = i + 1 == entryBoxes;
        box = Control(kEntryClass, "",
                      WS_BORDER | (last ? ES_AUTOHSCROLL : ES_MULTILINE | ES_READONLY), 10,
                      last ? 280 : 240, 420, last ? 30 : 34, doc);
    }
    if (room_ == nullptr) {  // the first document window made is the chat room
        list_ = list;
        entry_ = box;
        SetPropA(entry_, kInstanceProp, this);
    }
    return doc;
}

LRESULT CALLBACK SimAolClient::EntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* self = static_cast<SimAolClient*>(GetPropA(window, kInstanceProp)))
        return self->OnEntryMessage(window, message, wParam, lParam);
    return CallWindowProcA(gRichEditProc, window, message, wParam, lParam);
}

LRESULT SimAolClient::OnEntryMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const std::string line = DescribeInput(message, wParam, lParam);
    if (!line.empty()) messages_.Add(line);
    LRESULT result = 0;
    if (message == WM_CHAR && wParam == '\r')
        Submit();
    else
        result = CallWindowProcA(gRichEditProc, window, message, wParam, lParam);
    if (!line.empty()) VanishIfAsked(line);
    if (!line.empty()) StallIfAsked(line);
    return result;
}

void SimAolClient::StallIfAsked(const std::string& input) {
    if (stalled_ || options_.stallAfter.empty() || input.rfind(options_.stallAfter, 0) != 0) return;
    stalled_ = true;
    Sleep(options_.stallMs);
}

void SimAolClient::VanishIfAsked(const std::string& input) {
    if (vanished_ || options_.vanishAfter.empty() || input.rfind(options_.vanishAfter, 0) != 0)
        return;
    vanished_ = true;
    RemovePropA(entry_, kInstanceProp);
    DestroyWindow(frame_);
}

void SimAolClient::Submit() {
    const std::string line = Trimmed(TextThrough(gRichEditProc, entry_));
    CallWindowProcA(gRichEditProc, entry_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    if (line.empty()) return;
    // The room shows at most kShownLength characters of a line (drawing a 40,000-
    // character one is slow under an emulated processor); the transcript keeps it whole.
    SendMessageA(list_, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(line.substr(0, kShownLength).c_str()));
    SendMessageA(list_, LB_SETTOPINDEX, SendMessageA(list_, LB_GETCOUNT, 0, 0) - 1, 0);
    transcript_.Add(line);
    if (options_.onLine) options_.onLine(line);
}

std::vector<std::string> SimAolClient::Transcript() { return transcript_.Lines(); }

std::string SimAolClient::EntryText() {
    std::string text;
    peer_.Run([&] { text = TextThrough(gRichEditProc, entry_); });
    return text;
}

void SimAolClient::SetEntryText(const std::string& text) {
    peer_.Run([&] {
        CallWindowProcA(gRichEditProc, entry_, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
    });
}

bool SimAolClient::WaitForLine(const std::string& substring, DWORD timeoutMs) {
    return WaitForLine(
        [&](const std::string& line) { return line.find(substring) != std::string::npos; },
        timeoutMs);
}

bool SimAolClient::WaitForLine(const std::function<bool(const std::string&)>& test,
                               DWORD timeoutMs) {
    return transcript_.WaitFor(test, timeoutMs);
}

}  // namespace tobla::sim
