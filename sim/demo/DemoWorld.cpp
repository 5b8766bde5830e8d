// The outside world of the demo, shown on screen: a Winamp 2.x player that moves
// through a small playlist, an AOL client with an open chat room and an AIM chat
// window that print every line they receive. It waits for Tobla's window, lets the
// tracks play, then prints both transcripts and ends Tobla through its Exit link.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "win32/ControlIds.h"

namespace {

using namespace tobla::sim;

struct Track {
    const char* caption;  // as the player shows it
    int seconds, bitrate;
    bool scrolls = false;  // in the taskbar, as Winamp 5 scrolls it
};

// Playlist numbers of one to five digits and none, a title with parentheses, a
// stream (no length) that shows "[Buffer: ...]" before it plays, and a caption that
// scrolls.
const Track kPlaylist[] = {
    {"1. Daft Punk - One More Time - Winamp", 320, 192},
    {"12. Portishead - Glory Box - Winamp", 301, 160},
    {"123. Massive Attack - Teardrop (Live) - Winamp", 331, 256},
    {"1234. Radio Paradise - Morning Mix [Buffer: 42%] - Winamp", -1, 128},
    {"1234. Radio Paradise - Morning Mix - Winamp", -1, 128},
    {"12345. Air - La Femme d'Argent - Winamp", 428, 320},
    {"Boards of Canada - Roygbiv - Winamp", 151, 192, /*scrolls=*/true},
};

void Say(const char* who, const std::string& line) {
    std::printf("%-9s <- %s\n", who, line.c_str());
    std::fflush(stdout);
}

void Place(HWND window, int x, int y, int width, int height) {
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND WaitForTobla(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    HWND tobla = nullptr;
    while (!(tobla = FindWindowA("Tobla", nullptr)) && GetTickCount() - start < timeoutMs) {
        PumpMessages();
        Sleep(100);
    }
    return tobla;
}

// Plays one track: the played time grows while the caption stays or scrolls.
void Play(SimWinamp2& player, const Track& track, int index, DWORD milliseconds) {
    if (track.scrolls)
        player.Scroll(track.caption, ScrollForm::Winamp5, /*stepMs=*/150);
    else
        player.SetCaption(track.caption);
    player.SetSongSeconds(track.seconds);
    player.SetBitrate(track.bitrate);
    player.SetListIndex(index);
    const DWORD start = GetTickCount();
    for (DWORD played = 0; played < milliseconds; played = GetTickCount() - start) {
        player.SetPlayedMs(static_cast<int>(played));
        PumpMessages();
        Sleep(50);
    }
}

void PrintTranscript(const char* title, const std::vector<std::string>& lines) {
    std::printf("\n--- %s (%u lines) ---\n", title, static_cast<unsigned>(lines.size()));
    for (const auto& line : lines) std::printf("%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD trackMs = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 3000;
    SimWinamp2 player(/*visible=*/true);
    player.SetListCount(static_cast<int>(std::size(kPlaylist)));
    SimAolOptions aolOptions;
    aolOptions.entryBoxes = 2;
    aolOptions.visible = true;
    aolOptions.onLine = [](const std::string& line) { Say("AOL room", line); };
    SimAolClient aol(aolOptions);
    SimAimOptions aimOptions;
    aimOptions.visible = true;
    aimOptions.onLine = [](const std::string& line) { Say("AIM chat", line); };
    SimAimClient aim(aimOptions);
    Place(player.Window(), 10, 10, 600, 150);
    Place(aol.Frame(), 10, 250, 620, 380);
    Place(aim.Window(), 640, 250, 450, 380);
    aol.SetEntryText("brb, getting coffee");  // the user's half-typed line comes back

    std::printf("demo: Winamp, AOL and AIM are up; waiting for Tobla\n");
    std::fflush(stdout);
    Play(player, kPlaylist[0], 0, 500);  // already playing when Tobla starts
    HWND tobla = WaitForTobla(60000);
    if (!tobla) {
        std::fprintf(stderr, "demo: Tobla did not start\n");
        return 1;
    }
    RECT frame;
    GetWindowRect(tobla, &frame);
    SetWindowPos(tobla, nullptr, GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left) - 10, 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Play(player, kPlaylist[0], 0, trackMs);
    for (int i = 1; i < static_cast<int>(std::size(kPlaylist)); ++i) {
        std::printf("demo: Winamp now shows \"%s\"\n", kPlaylist[i].caption);
        std::fflush(stdout);
        Play(player, kPlaylist[i], i, trackMs);
    }
    GetWindowRect(tobla, &frame);  // where the screenshot finds Tobla's window
    std::printf("demo: screenshot %ldx%ld+%ld+%ld\n", frame.right - frame.left,
                frame.bottom - frame.top, frame.left, frame.top);
    std::fflush(stdout);
    Play(player, kPlaylist[std::size(kPlaylist) - 1], 0, 2000);

    PrintTranscript("AOL chat room", aol.Transcript());
    PrintTranscript("AIM chat window", aim.Transcript());
    std::printf("\nAOL entry box afterwards: \"%s\"\n", aol.EntryText().c_str());
    PostMessageA(tobla, WM_COMMAND, MAKEWPARAM(IDC_LABEL6, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(tobla, IDC_LABEL6)));
    return 0;
}
