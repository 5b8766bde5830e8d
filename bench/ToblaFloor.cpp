// The floor of the benchmark: the least a program can do that polls the player as
// Tobla does, with nothing else around it. On every tick of a 1 ms timer it reads
// the "color" setting from Tobla.ini beside itself (a second time when a colour is
// stored), finds the "Winamp v1.x" window, reads its caption twice
// (WM_GETTEXTLENGTH, then WM_GETTEXT) and asks it for the time played once
// (WM_USER, wParam 0, lParam 105). It shows no window and ends when terminated.
// Started with "player-only" it leaves out the settings reads, which tells how the
// cost of a tick divides between the settings file and the player.
#include <windows.h>

#include <string>

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr LPARAM kRequestPlayedTime = 105;

std::string gSettingsFile;
bool gReadSettings = true;

std::string SettingsFileBesideMe() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(/*hModule=*/nullptr, path, MAX_PATH);
    std::string file(path);
    return file.substr(0, file.find_last_of('\\')) + "\\Tobla.ini";
}

std::string ReadColor() {
    char value[256] = {};
    const DWORD n = GetPrivateProfileStringA("Tobla", "color", /*lpDefault=*/"", value,
                                             sizeof value, gSettingsFile.c_str());
    return std::string(value, n);
}

std::string Caption(HWND player) {
    const LRESULT length = SendMessageA(player, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(player, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Kept so the compiler cannot drop the readings.
volatile std::size_t gSink = 0;

void Tick() {
    if (gReadSettings && !ReadColor().empty()) gSink = gSink + ReadColor().size();
    HWND player = FindWindowA("Winamp v1.x", /*lpWindowName=*/nullptr);
    if (player == nullptr) return;
    gSink = gSink + Caption(player).size();
    gSink = gSink + static_cast<std::size_t>(
                        SendMessageA(player, WM_USER, /*wParam=*/0, kRequestPlayedTime));
    gSink = gSink + Caption(player).size();
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimerId) Tick();
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    gSettingsFile = SettingsFileBesideMe();
    gReadSettings = std::string(commandLine).find("player-only") == std::string::npos;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = "ToblaFloor";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("ToblaFloor", "Tobla floor", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                /*hWndParent=*/nullptr, /*hMenu=*/nullptr, instance,
                                /*lpParam=*/nullptr);
    if (window == nullptr) return 1;
    SetTimer(window, kTimerId, /*uElapse=*/1, /*lpTimerFunc=*/nullptr);
    MSG message;
    while (GetMessageA(&message, /*hWnd=*/nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
