#include "SimAim.h"

#include "Superclass.h"

namespace tobla::sim {
namespace {

constexpr const char* kInstanceProp = "ToblaSimAimClient";
constexpr const char* kWindowClass = "AIM_ChatWnd";
constexpr const char* kBoxClass = "WndAte32Class";
constexpr const char* kButtonClass = "_Oscar_IconBtn";
constexpr int kSendButton = 5;
constexpr int kFirstButtonId = 100;
// The history shows at most this much of a line. A multi-line edit control lays out
// a 40,000-character line for minutes under an emulated processor, and would keep
// the client from answering; the transcript keeps every line whole.
constexpr std::size_t kShownLength = 256;

WNDPROC gEditProc = nullptr;
WNDPROC gButtonProc = nullptr;

SimAimClient* Instance(HWND window) {
    return static_cast<SimAimClient*>(GetPropA(window, kInstanceProp));
}

Charset CharsetOf(HWND window) {
    return IsWindowUnicode(window) ? Charset::Unicode : Charset::Ansi;
}

}  // namespace

SimAimClient::SimAimClient(SimAimOptions options) : options_(std::move(options)) {
    peer_.Run([this] { Create(); });
}

SimAimClient::~SimAimClient() {
    peer_.Run([this] {
        if (vanished_) return;
        RemovePropA(window_, kInstanceProp);
        RemovePropA(entry_, kInstanceProp);
        for (HWND button : buttons_) RemovePropA(button, kInstanceProp);
        DestroyWindow(window_);
    });
}

void SimAimClient::Create() {
    const Charset charset = options_.charset;
    RegisterClassOnce(kWindowClass, WindowProc, /*style=*/0, charset);
    gEditProc = RegisterSuperclass("Edit", kBoxClass, &BoxProc, charset);
    gButtonProc = RegisterSuperclass("Button", kButtonClass, &ButtonProc, charset);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    window_ = CreateWindowExA(0, kWindowClass, "Chat Room: tobla", WS_OVERLAPPEDWINDOW, 20, 480,
                              440, 340, nullptr, nullptr, instance, nullptr);
    SetPropA(window_, kInstanceProp, this);
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_BORDER;
    history_ = CreateWindowExA(0, kBoxClass, "", child | ES_MULTILINE | ES_READONLY | WS_VSCROLL,
                               10, 10, 410, 180, window_, nullptr, instance, nullptr);
    entry_ = CreateWindowExA(0, kBoxClass, "", child | ES_AUTOHSCROLL, 10, 200, 410, 40, window_,
                             nullptr, instance, nullptr);
    SetPropA(entry_, kInstanceProp, this);
    for (int i = 0; i < options_.buttons; ++i) {
        const std::string label = i + 1 == kSendButton ? "Send" : "btn" + std::to_string(i + 1);
        HWND button = CreateWindowExA(
            0, kButtonClass, label.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10 + i * 70, 250,
            64, 40, window_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstButtonId + i)),
            instance, nullptr);
        SetPropA(button, kInstanceProp, this);
        buttons_.push_back(button);
    }
    if (options_.visible) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
}

LRESULT CALLBACK SimAimClient::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        LOWORD(wParam) == kFirstButtonId + kSendButton - 1)
        if (SimAimClient* self = Instance(window)) {
            self->sentOnClick_ = true;
            self->SendEntry();
            return 0;
        }
    return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                   : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK SimAimClient::BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SimAimClient* self = Instance(window);
    const Charset charset = CharsetOf(window);
    const std::string line = self ? DescribeInput(message, wParam, lParam, charset) : "";
    if (!line.empty()) self->messages_.Add(line);
    const LRESULT result = CallThrough(gEditProc, charset, window, message, wParam, lParam);
    if (!line.empty()) self->VanishIfAsked(line);
    return result;
}

void SimAimClient::VanishIfAsked(const std::string& input) {
    if (vanished_ || options_.vanishAfter.empty() || input.rfind(options_.vanishAfter, 0) != 0)
        return;
    vanished_ = true;
    RemovePropA(window_, kInstanceProp);
    RemovePropA(entry_, kInstanceProp);
    for (HWND button : buttons_) RemovePropA(button, kInstanceProp);
    DestroyWindow(window_);
}

LRESULT CALLBACK SimAimClient::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (SimAimClient* self = Instance(window))
        return self->OnButtonMessage(window, message, wParam, lParam);
    return CallThrough(gButtonProc, CharsetOf(window), window, message, wParam, lParam);
}

// The real button reports a click to the window when it is pressed and released
// with the pointer on it. Should it not (a press that never got the mouse capture,
// a pointer moved off it meanwhile), the pair of messages still counts as a click,
// as it does in the client.
LRESULT SimAimClient::OnButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    int number = 0;
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i] == button) number = static_cast<int>(i) + 1;
    const Charset charset = options_.charset;
    const std::string input = DescribeInput(message, wParam, lParam, charset);
    if (!input.empty()) messages_.Add(input + " btn" + std::to_string(number));
    const bool isSend = number == kSendButton;
    if (message == WM_LBUTTONDOWN && isSend) sendPressed_ = true;
    if (message != WM_LBUTTONUP || !isSend) {
        const LRESULT result = CallThrough(gButtonProc, charset, button, message, wParam, lParam);
        if (!input.empty()) VanishIfAsked(input + " btn" + std::to_string(number));
        return result;
    }

    sentOnClick_ = false;
    const LRESULT result = CallThrough(gButtonProc, charset, button, message, wParam, lParam);
    if (sendPressed_ && !sentOnClick_) SendEntry();
    sendPressed_ = false;
    return result;
}

void SimAimClient::SendEntry() {
    const Charset charset = options_.charset;
    const std::string line = TextThrough(gEditProc, entry_, charset);
    CallWithText(gEditProc, charset, entry_, WM_SETTEXT, 0, "");
    if (line.empty()) return;
    transcript_.Add(line);
    const LRESULT end = CallThrough(gEditProc, charset, history_, WM_GETTEXTLENGTH, 0, 0);
    CallThrough(gEditProc, charset, history_, EM_SETSEL, end, end);
    const std::string shown = (end > 0 ? "\r\n" : "") + line.substr(0, kShownLength);
    CallWithText(gEditProc, charset, history_, EM_REPLACESEL, FALSE, shown);
    if (options_.onLine) options_.onLine(line);
}

std::vector<std::string> SimAimClient::Transcript() { return transcript_.Lines(); }

std::string SimAimClient::EntryText() {
    std::string text;
    peer_.Run([&] { text = TextThrough(gEditProc, entry_, options_.charset); });
    return text;
}

void SimAimClient::SetEntryText(const std::string& text) {
    peer_.Run([&] { CallWithText(gEditProc, options_.charset, entry_, WM_SETTEXT, 0, text); });
}

bool SimAimClient::WaitForLine(const std::string& substring, DWORD timeoutMs) {
    return WaitForLine(
        [&](const std::string& line) { return line.find(substring) != std::string::npos; },
        timeoutMs);
}

bool SimAimClient::WaitForLine(const std::function<bool(const std::string&)>& test,
                               DWORD timeoutMs) {
    return transcript_.WaitFor(test, timeoutMs);
}

}  // namespace tobla::sim
