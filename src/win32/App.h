#pragma once
#include <windows.h>

#include <string>

#include "chat/AimChat.h"
#include "chat/AolChat.h"
#include "core/PlayLog.h"
#include "core/PollCycle.h"
#include "player/Winamp.h"
#include "win32/FrmMain.h"
#include "win32/MessagePump.h"
#include "win32/Win32ForeignWindows.h"
#include "win32/Win32Services.h"

namespace tobla {

// The composition root: builds every service of the program once, in one place, and
// hands them to the window and the poll cycle.
class App {
public:
    explicit App(HINSTANCE instance, std::string programFolder = ProgramFolder());

    // Opens the window, which starts polling; false when it cannot be made.
    bool Start() { return form_.Load(cycle_); }
    frmMain& Form() { return form_; }
    // Runs the program's messages until it quits; returns the exit code.
    int Run() const { return pump_.RunUntilQuit(); }

private:
    std::string programFolder_;
    MessagePump pump_;
    Win32ForeignWindows windows_{pump_};  // also the program's one way to yield
    Win32FileSystem files_;
    Win32CodePage codePage_;
    Win32Settings settings_{files_, codePage_};
    Win32Clock clock_;
    Win32Launcher launcher_;
    Win32CaseRules cases_;
    WinampPlayer player_{windows_};
    AolChatRoom aolRoom_{windows_};
    AimChatWindow aimWindow_{windows_};
    PlayLogFile playLog_;
    LogCommands logCommands_;
    frmMain form_;
    PollCycle cycle_;
};

}  // namespace tobla
