#include "SimWinamp.h"

#include <algorithm>

#include "win32/WideText.h"

namespace tobla::sim {
namespace {

constexpr const char* kWinamp2Class = "Winamp v1.x";
constexpr const char* kWinamp3Class = "Studio";
constexpr const char* kPlaylistClass = "BaseWindow_RootWnd";
constexpr UINT kHangMessage = WM_APP + 0x2A1;
constexpr UINT_PTR kScrollTimer = 1;

HWND CreateTopLevel(const char* className, const std::string& caption, bool visible, void* self) {
    const DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    return CreateWindowA(className, caption.c_str(), style, 40, 40, 640, 200,
                         /*hWndParent=*/nullptr, /*hMenu=*/nullptr, GetModuleHandleA(nullptr),
                         self);
}

// Where Winamp 3 keeps its list among the playlist frame's panes.
int ListPaneIndex(int panes) { return panes >= 4 ? 3 : panes == 2 ? 0 : -1; }

}  // namespace

SimWinamp2::SimWinamp2(bool visible, Charset charset) : charset_(charset) {
    released_ = CreateEventA(/*lpEventAttributes=*/nullptr, /*bManualReset=*/TRUE,
                             /*bInitialState=*/TRUE, /*lpName=*/nullptr);
    hanging_ = CreateEventA(/*lpEventAttributes=*/nullptr, /*bManualReset=*/TRUE,
                            /*bInitialState=*/FALSE, /*lpName=*/nullptr);
    RegisterClassOnce(kWinamp2Class, &SimWinamp2::Procedure, CS_HREDRAW | CS_VREDRAW, charset);
    thread_.Run([&] {
        font_ = CreateFontA(/*cHeight=*/40, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, "Arial");
        window_ = CreateTopLevel(kWinamp2Class, "Winamp 2.91", visible, this);
    });
}

SimWinamp2::~SimWinamp2() {
    Release();
    thread_.Run([&] {
        DestroyWindow(window_);
        DeleteObject(font_);
    });
    CloseHandle(released_);
    CloseHandle(hanging_);
}

void SimWinamp2::SetCaption(const std::string& caption) {
    thread_.Run([&] {
        KillTimer(window_, kScrollTimer);
        ShowCaption(caption);
        InvalidateRect(window_, /*lpRect=*/nullptr, /*bErase=*/TRUE);
    });
}

void SimWinamp2::Scroll(const std::string& still, ScrollForm form, UINT stepMs) {
    thread_.Run([&] {
        scrollSteps_ = ScrollingCaptions(still, form);
        scrollStep_ = 0;
        ShowNextScrollStep();
        SetTimer(window_, kScrollTimer, stepMs, /*lpTimerFunc=*/nullptr);
    });
}

void SimWinamp2::ShowNextScrollStep() {
    ShowCaption(scrollSteps_[scrollStep_]);
    scrollStep_ = (scrollStep_ + 1) % scrollSteps_.size();
}

void SimWinamp2::ShowCaption(const std::string& caption) {
    if (charset_ == Charset::Unicode)
        SetWindowTextW(window_, Wide(caption).c_str());
    else
        SetWindowTextA(window_, caption.c_str());
}

void SimWinamp2::Set(int& field, int value) {
    Held held(lock_);
    field = value;
}

void SimWinamp2::SetPlayedMs(int ms) { Set(playedMs_, ms); }
void SimWinamp2::SetSongSeconds(int seconds) { Set(songSeconds_, seconds); }
void SimWinamp2::SetListCount(int count) { Set(listCount_, count); }
void SimWinamp2::SetListIndex(int index) { Set(listIndex_, index); }
void SimWinamp2::SetBitrate(int bitrate) { Set(bitrate_, bitrate); }

void SimWinamp2::ReportCaptionBytes(const std::string& bytes) {
    Held held(lock_);
    reportedBytes_ = bytes;
}

void SimWinamp2::ReportTextLength(LRESULT length) {
    Held held(lock_);
    reportedLength_ = length;
}

void SimWinamp2::ReportTruly() {
    Held held(lock_);
    reportedBytes_.reset();
    reportedLength_.reset();
}

void SimWinamp2::OnPlayedRequest(std::function<std::string()> nextCaption) {
    Held held(lock_);
    onPlayed_ = std::move(nextCaption);
}

// The hang is a message the player's own thread handles by waiting: while it
// waits, nothing sent to its windows is even received.
void SimWinamp2::Hang() {
    ResetEvent(released_);
    ResetEvent(hanging_);
    PostMessageA(window_, kHangMessage, 0, 0);
    WaitForSingleObject(hanging_, INFINITE);
}

void SimWinamp2::Release() { SetEvent(released_); }

bool SimWinamp2::AnswerText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Held held(lock_);
    const std::size_t unit = charset_ == Charset::Unicode ? sizeof(wchar_t) : 1;
    if (message == WM_GETTEXTLENGTH && (reportedLength_ || reportedBytes_)) {
        result = reportedLength_ ? *reportedLength_
                                 : static_cast<LRESULT>(reportedBytes_->size() / unit);
        return true;
    }
    if (message == WM_GETTEXT && reportedBytes_) {
        const std::size_t room = wParam > 0 ? wParam - 1 : 0;
        const std::size_t units = reportedBytes_->size() / unit;
        const std::size_t n = units < room ? units : room;
        char* buffer = reinterpret_cast<char*>(lParam);
        if (buffer && wParam > 0) {
            reportedBytes_->copy(buffer, n * unit);
            std::fill_n(buffer + n * unit, unit, '\0');
        }
        result = static_cast<LRESULT>(n);
        return true;
    }
    return false;
}

LRESULT CALLBACK SimWinamp2::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SimWinamp2*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool unicode = IsWindowUnicode(window);
    if (self && message == kHangMessage) {
        SetEvent(self->hanging_);
        WaitForSingleObject(self->released_, INFINITE);
        return 0;
    }
    if (LRESULT text = 0; self && self->AnswerText(message, wParam, lParam, text)) return text;
    if (self && message == WM_USER) return self->Answer(wParam, lParam);
    if (self && message == WM_TIMER && wParam == kScrollTimer) {
        self->ShowNextScrollStep();
        return 0;
    }
    if (self && message == WM_PAINT) {
        self->Paint(window);
        return 0;
    }
    return unicode ? DefWindowProcW(window, message, wParam, lParam)
                   : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT SimWinamp2::Answer(WPARAM selector, LPARAM request) {
    requests_.Add(std::to_string(request) + " " + std::to_string(selector));
    std::function<std::string()> onPlayed;
    if (request == 105 && selector == 0) {
        Held held(lock_);
        onPlayed = onPlayed_;
    }
    if (onPlayed)
        if (const std::string next = onPlayed(); !next.empty()) ShowCaption(next);
    Held held(lock_);
    switch (request) {
        case 105: return selector == 0 ? playedMs_ : selector == 1 ? songSeconds_ : 0;
        case 124: return listCount_;
        case 125: return listIndex_;
        case 126: return selector == 1 ? bitrate_ : 0;
        default: return 0;
    }
}

// The caption in large type, so a screenshot shows what is playing.
void SimWinamp2::Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    RECT area;
    GetClientRect(window, &area);
    InflateRect(&area, -16, -16);
    HGDIOBJ previous = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, caption, -1, &area, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, previous);
    EndPaint(window, &paint);
}

SimWinamp3::SimWinamp3(int panes) {
    RegisterClassOnce(kWinamp3Class, DefWindowProcA);
    RegisterClassOnce(kPlaylistClass, DefWindowProcA);
    thread_.Run([&] {
        studio_ = CreateTopLevel(kWinamp3Class, "Winamp3", /*visible=*/false, nullptr);
        playlist_ = CreateTopLevel(kPlaylistClass, "Playlist Editor", /*visible=*/false, nullptr);
        for (int i = 0; i < panes; ++i) {
            const std::string caption = "Pane " + std::to_string(i + 1);
            panes_.push_back(CreateWindowA(kPlaylistClass, caption.c_str(), WS_CHILD, 0, 0, 10, 10,
                                           playlist_, /*hMenu=*/nullptr, GetModuleHandleA(nullptr),
                                           /*lpParam=*/nullptr));
        }
    });
    SetItemCount(0);
}

SimWinamp3::~SimWinamp3() {
    thread_.Run([&] {
        DestroyWindow(playlist_);
        DestroyWindow(studio_);
    });
}

HWND SimWinamp3::ListPane() const {
    const int index = ListPaneIndex(static_cast<int>(panes_.size()));
    return index < 0 ? nullptr : panes_[index];
}

void SimWinamp3::SetTextOf(HWND window, const std::string& text) {
    if (window) thread_.Run([&] { SetWindowTextA(window, text.c_str()); });
}

void SimWinamp3::SetCaption(const std::string& caption) { SetTextOf(studio_, caption); }
void SimWinamp3::SetPlaylistCaption(const std::string& caption) { SetTextOf(playlist_, caption); }
void SimWinamp3::SetItemCount(int count) {
    SetTextOf(ListPane(), "Playlist Editor: " + std::to_string(count) + " items");
}

}  // namespace tobla::sim
