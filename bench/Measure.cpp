#include "Measure.h"

#include "RemoveTree.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tobla::bench {
namespace {

double ToMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;  // 100 ns units
}

std::string MyFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(/*hModule=*/nullptr, path, MAX_PATH);
    std::string file(path);
    return file.substr(0, file.find_last_of('\\'));
}

std::string ReadWhole(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
    CloseHandle(file);
    return text;
}

// One entry of the system's handle table (SystemHandleInformation, class 16).
struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType, flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};

// How many handles a process holds by the system's handle table; -1 when the
// table cannot be read. (Wine answers GetProcessHandleCount for another process
// with 0, but lists its handles here.)
long SystemHandleCount(DWORD processId) {
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
    if (status < 0) return -1;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].ownerPid == processId;
    return mine;
}

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* counting = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counting->processId) {
        ++counting->count;
        EnumChildWindows(window, &CountChild, param);
    }
    return TRUE;
}

long WindowsOf(DWORD processId) {
    WindowCount counting{processId, 0};
    EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

}  // namespace

double NowMs() {
    static const double msPerCount = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1000.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * msPerCount;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::string BesideMe(const std::string& name) { return MyFolder() + "\\" + name; }

ProgramFolder::ProgramFolder(const std::string& exeName, const std::string& settings)
    : exeName_(exeName) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    path_ = std::string(temp) + "tobla-bench-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    CreateDirectoryA(path_.c_str(), nullptr);
    CopyFileA(BesideMe(exeName).c_str(), Exe().c_str(), /*bFailIfExists=*/FALSE);
    std::ofstream(path_ + "\\Tobla.ini", std::ios::binary) << settings;
}

ProgramFolder::~ProgramFolder() { sim::RemoveTree(path_); }

Process::Process(const std::string& exe, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    startedAtMs_ = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, /*bInheritHandles=*/FALSE, 0,
                        nullptr, nullptr, &startup, &info_))
        info_ = {};
}

Process::~Process() { Terminate(); }

double Process::WaitForVisibleWindow(const char* className, DWORD timeoutMs) {
    const double deadline = startedAtMs_ + timeoutMs;
    while (NowMs() < deadline) {
        // Only one window of the class exists at a time here; it must be ours.
        HWND window = FindWindowA(className, /*lpWindowName=*/nullptr);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (window && owner == info_.dwProcessId && IsWindowVisible(window)) return NowMs();
        Sleep(1);
    }
    return -1;
}

double Process::CpuMs() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(info_.hProcess, &created, &exited, &kernel, &user)) return -1;
    return ToMs(kernel) + ToMs(user);
}

Resources Process::Snapshot() const {
    Resources r;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(info_.hProcess, &memory, sizeof memory)) {
        r.workingSetKb = memory.WorkingSetSize / 1024.0;
        r.peakWorkingSetKb = memory.PeakWorkingSetSize / 1024.0;
        r.privateKb = memory.PagefileUsage / 1024.0;
    }
    GetProcessHandleCount(info_.hProcess, &r.handles);
    r.gdiObjects = GetGuiResources(info_.hProcess, GR_GDIOBJECTS);
    r.userObjects = GetGuiResources(info_.hProcess, GR_USEROBJECTS);
    r.systemHandles = SystemHandleCount(info_.dwProcessId);
    r.windows = WindowsOf(info_.dwProcessId);
    return r;
}

void Process::Terminate() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
    info_ = {};
}

double HostProcessCpuMs(unsigned long hostPid) {
    if (hostPid == 0) return -1;
    const std::string stat = ReadWhole("Z:\\proc\\" + std::to_string(hostPid) + "\\stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    // After the command name: state (field 3) ... utime (14), stime (15), in USER_HZ
    // ticks, which Linux fixes at 100 a second.
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    double utime = -1, stime = -1;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) utime = std::atof(field.c_str());
        if (number == 15) stime = std::atof(field.c_str());
    }
    return utime < 0 || stime < 0 ? -1 : (utime + stime) * 10.0;
}

double MeasureTimerPeriodMs(DWORD durationMs) {
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SetTimer(window, /*nIDEvent=*/1, /*uElapse=*/1, /*lpTimerFunc=*/nullptr);
    const double start = NowMs();
    int ticks = 0;
    MSG message;
    while (NowMs() - start < durationMs && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == window)
            ++ticks;
        else
            DispatchMessageA(&message);
    }
    const double elapsed = NowMs() - start;
    KillTimer(window, 1);
    DestroyWindow(window);
    return ticks > 0 ? elapsed / ticks : -1;
}

}  // namespace tobla::bench
