#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tobla::bench {

// Milliseconds on the performance counter, from an arbitrary origin.
double NowMs();

// Median and nearest-rank percentile (p in 0..100) of a sample; 0 when empty.
double Median(std::vector<double> values);
double Percentile(std::vector<double> values, double p);

// A fresh program folder in the temporary folder holding a copy of one executable
// (taken from beside the benchmark) and a Tobla.ini; removed with what it holds.
class ProgramFolder {
public:
    ProgramFolder(const std::string& exeName, const std::string& settings);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    std::string Exe() const { return path_ + "\\" + exeName_; }

private:
    std::string path_, exeName_;
};

// The full path of a file beside the benchmark's executable.
std::string BesideMe(const std::string& name);

// What a process holds at one moment.
struct Resources {
    double workingSetKb = 0, peakWorkingSetKb = 0, privateKb = 0;
    DWORD handles = 0, gdiObjects = 0,
          userObjects = 0;    // as GetProcessHandleCount, GetGuiResources say
    long systemHandles = -1;  // the process's entries in the system's handle table
    long windows = -1;        // its windows, top-level and child
};

// A program started by the benchmark; terminated (not asked to exit) at the end.
class Process {
public:
    explicit Process(const std::string& exe, const std::string& arguments = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    double StartedAtMs() const { return startedAtMs_; }
    // Waits until a window of `className` owned by this process is visible; returns
    // the time it was first seen so, or a negative number after timeoutMs.
    double WaitForVisibleWindow(const char* className, DWORD timeoutMs);
    // User plus kernel CPU time so far, in milliseconds.
    double CpuMs() const;
    Resources Snapshot() const;
    void Terminate();

private:
    PROCESS_INFORMATION info_{};
    double startedAtMs_ = 0;
};

// CPU time (user plus kernel, milliseconds) of a Linux process seen through Wine's
// view of the host's /proc; negative when it cannot be read.
double HostProcessCpuMs(unsigned long hostPid);

// The period of a 1 ms SetTimer on this thread, measured over `durationMs`.
double MeasureTimerPeriodMs(DWORD durationMs);

}  // namespace tobla::bench
