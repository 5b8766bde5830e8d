#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tobla::sim {

// A lock for state shared between a peer's thread and the test (the toolchain's
// thread model has no std::mutex).
class Lock {
public:
    Lock() { InitializeCriticalSection(&section_); }
    ~Lock() { DeleteCriticalSection(&section_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    void Enter() { EnterCriticalSection(&section_); }
    void Leave() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

class Held {
public:
    explicit Held(Lock& lock) : lock_(lock) { lock_.Enter(); }
    ~Held() { lock_.Leave(); }

private:
    Lock& lock_;
};

// Lines recorded by a peer (messages received, chat lines), readable from any thread.
class Record {
public:
    void Add(const std::string& line);
    std::vector<std::string> Lines();
    void Clear();
    // Waits until a line satisfies the test, at most timeoutMs; pumps the caller's
    // messages meanwhile.
    bool WaitFor(const std::function<bool(const std::string&)>& test, DWORD timeoutMs);

private:
    Lock lock_;
    std::vector<std::string> lines_;
};

// A thread that owns a peer's windows and runs a GetMessage loop for them, as a
// real outside program's user-interface thread does.
class PeerThread {
public:
    PeerThread();
    ~PeerThread();  // destroys the windows (through the thread) and joins
    PeerThread(const PeerThread&) = delete;
    PeerThread& operator=(const PeerThread&) = delete;

    // Runs fn on the peer thread and waits for it to return.
    void Run(const std::function<void()>& fn);
    DWORD ThreadId() const { return threadId_; }

private:
    static DWORD WINAPI Main(LPVOID self);
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
};

// Pumps the calling thread's pending messages.
void PumpMessages();

// The kind of program a peer simulates: the ANSI programs of the time (Winamp 2, the
// chat clients) make their windows of ANSI classes; a Unicode program (Winamp 5)
// registers its classes with RegisterClassW, and its windows hold UTF-16 text. The
// peers' own interfaces speak UTF-8 to a test about a Unicode window's text.
enum class Charset { Ansi, Unicode };

// Whether `className` is this process's class in `charset` with `procedure`.
bool IsRegistered(const char* className, WNDPROC procedure, Charset charset);

// Registers a window class once per process; the procedure must be the same each time.
// A class of that name in the other charset is registered anew, once its windows are
// gone (one process hosts the ANSI and the Unicode form of a peer in turn).
void RegisterClassOnce(const char* className, WNDPROC procedure, UINT style = 0,
                       Charset charset = Charset::Ansi);

}  // namespace tobla::sim
