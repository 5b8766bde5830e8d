#include <windows.h>

#include "win32/App.h"
#include "win32/SystemLibrary.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tobla::KeepDllSearchToTheSystem();
    // One announcer at a time: a second start shows the running window and ends.
    CreateMutexW(/*lpMutexAttributes=*/nullptr, /*bInitialOwner=*/FALSE, L"Tobla.Announcer");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND running = FindWindowW(tobla::frmMain::kClassName, /*lpWindowName=*/nullptr)) {
            ShowWindow(running, SW_SHOW);
            SetForegroundWindow(running);
        }
        return 0;
    }
    tobla::App app(instance);
    if (!app.Start()) return 1;
    return app.Run();
}
