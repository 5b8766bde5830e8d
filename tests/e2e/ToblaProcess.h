#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "SimWinamp.h"

namespace tobla::e2e {

// Waits for a condition with a deadline, letting the caller's messages run.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);

// Waits until Tobla has finished the polls under way and made `polls` more: every
// poll asks the player for the time played once, after the previous poll ended.
bool WaitForPolls(sim::SimWinamp2& player, int polls = 20);

// A fresh program folder in the temporary folder, with Tobla.exe copied into it. Its
// name begins with `name` (UTF-8, in any script) and ends with a number of its own.
// Paths and names here are UTF-8; the folder and its files are reached with the W
// calls, as a Unicode program reaches them.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name = "tobla-e2e");
    ~ProgramFolder();
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;  // empty when missing
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

// Tobla.exe started as a user starts it, driven only through its windows.
class ToblaProcess {
public:
    explicit ToblaProcess(const ProgramFolder& folder);
    ~ToblaProcess();  // ends the process if a test left it running

    bool Started() const { return window_ != nullptr; }
    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::string Text(int id) const;
    int CheckState(int id) const;
    bool Visible() const { return IsWindowVisible(window_) != FALSE; }

    // A control's text and a combo box's list as a Unicode program reads them, in UTF-8.
    std::string UnicodeText(int id) const;
    std::vector<std::string> ListEntries(int id) const;

    void Click(int id) const;                              // a click as the control reports it
    void Type(int id, const std::string& text) const;      // characters into a combo box's edit
    void Type(int id, const std::u16string& units) const;  // the same as UTF-16 units
    void PressEnter(int id) const;
    void SendCommand(int id, int code) const;
    void Post(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Returns once Tobla has handled every message posted to it so far: a close
    // posted after them hides the window, and the icon's double-click shows it again.
    bool Settle() const;
    // Runs `ticks` ticks of the poll timer and returns once they are done.
    bool RunTicks(int ticks) const;

    bool WaitForExit(DWORD timeoutMs = 10000);
    bool Running() const;
    DWORD ProcessId() const { return process_.dwProcessId; }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The full path of Tobla.exe beside the test program.
std::string ToblaExe();

// Today's play log, relative to the program folder.
std::string TodayLogName();
// The titles of a play log's lines, without their date and time (which a test
// cannot know to the second); a line of another shape is kept as "malformed: ..."
// and an unterminated last line as "unterminated: ...". A log in UTF-8 (it begins
// with the byte order mark) gives its titles in UTF-8, a log in the code page its
// bytes.
std::vector<std::string> LoggedTitles(const std::string& log);

}  // namespace tobla::e2e
