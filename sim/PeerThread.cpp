#include "PeerThread.h"

#include "win32/WideText.h"

namespace tobla::sim {
namespace {
constexpr UINT kRunMessage = WM_APP + 0x2A0;

struct RunRequest {
    const std::function<void()>* fn;
    HANDLE done;
};
}  // namespace

void Record::Add(const std::string& line) {
    Held held(lock_);
    lines_.push_back(line);
}

std::vector<std::string> Record::Lines() {
    Held held(lock_);
    return lines_;
}

void Record::Clear() {
    Held held(lock_);
    lines_.clear();
}

bool Record::WaitFor(const std::function<bool(const std::string&)>& test, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (const auto& line : Lines())
            if (test(line)) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        PumpMessages();
        Sleep(5);
    }
}

PeerThread::PeerThread() {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &PeerThread::Main, this, 0, &threadId_);
    WaitForSingleObject(ready_, INFINITE);
}

PeerThread::~PeerThread() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

void PeerThread::Run(const std::function<void()>& fn) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    RunRequest request{&fn, done};
    while (!PostThreadMessageA(threadId_, kRunMessage, 0, reinterpret_cast<LPARAM>(&request)))
        Sleep(1);
    // Keep answering messages sent to this thread's windows while the peer works.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
        PumpMessages();
    CloseHandle(done);
}

DWORD WINAPI PeerThread::Main(LPVOID param) {
    auto* self = static_cast<PeerThread*>(param);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // makes the thread's queue
    SetEvent(self->ready_);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kRunMessage) {
            auto* request = reinterpret_cast<RunRequest*>(message.lParam);
            (*request->fn)();
            SetEvent(request->done);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool IsRegistered(const char* className, WNDPROC procedure, Charset charset) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // A class reports its own procedure only in its own charset; in the other one it
    // reports a handle the system converts messages through.
    if (charset == Charset::Unicode) {
        WNDCLASSW existing;
        return GetClassInfoW(instance, Wide(className).c_str(), &existing) &&
               existing.lpfnWndProc == procedure;
    }
    WNDCLASSA existing;
    return GetClassInfoA(instance, className, &existing) && existing.lpfnWndProc == procedure;
}

void RegisterClassOnce(const char* className, WNDPROC procedure, UINT style, Charset charset) {
    if (IsRegistered(className, procedure, charset)) return;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA(className, instance);  // fails, harmlessly, while windows of it remain
    const auto fill = [&](auto& wc, auto name) {
        wc.style = style;
        wc.lpfnWndProc = procedure;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name;
    };
    if (charset == Charset::Unicode) {
        const std::wstring name = Wide(className);
        WNDCLASSW wc{};
        fill(wc, name.c_str());
        RegisterClassW(&wc);
    } else {
        WNDCLASSA wc{};
        fill(wc, className);
        RegisterClassA(&wc);
    }
}

}  // namespace tobla::sim
