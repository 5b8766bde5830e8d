// The outside world of the demo, shown on screen: a Winamp 5 player (a Unicode
// program) that moves through a small playlist, an AOL client (an ANSI program) with
// an open chat room and an AIM chat window (a Unicode one) that print every line
// they receive. It waits for Tobla's window, lets the tracks play, then prints both
// transcripts and ends Tobla through its Exit link.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "win32/ControlIds.h"
#include "win32/Scoped.h"

namespace {

using namespace tobla::sim;

struct Track {
    const char* caption;  // as the player shows it
    int seconds, bitrate;
    bool scrolls = false;  // in the taskbar, as Winamp 5 scrolls it
};

// Playlist numbers of one to five digits and none, a title with parentheses, a
// stream (no length) that shows "[Buffer: ...]" before it plays, titles in Japanese
// (Ryuichi Sakamoto's "Merry Christmas Mr. Lawrence"), in Cyrillic (Kino's "Blood
// Type") and with an emoji, which the AOL room, an ANSI program, gets as "?", and a
// caption that scrolls.
const Track kPlaylist[] = {
    {"1. Daft Punk - One More Time - Winamp", 320, 192},
    {"12. Portishead - Glory Box - Winamp", 301, 160},
    {"3. \u5742\u672c\u9f8d\u4e00 - \u6226\u5834\u306e\u30e1\u30ea\u30fc\u30af\u30ea"
     "\u30b9\u30de\u30b9 - Winamp",
     285, 256},
    {"4. \u041a\u0438\u043d\u043e - \u0413\u0440\u0443\u043f\u043f\u0430 "
     "\u043a\u0440\u043e\u0432\u0438 - Winamp",
     286, 192},
    {"5. Pharrell Williams - Happy \U0001F60A - Winamp", 233, 256},
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

BOOL CALLBACK SetFontOf(HWND control, LPARAM font) {
    SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), /*redraw=*/TRUE);
    return TRUE;
}

// The AIM window's boxes would draw in the system's bitmap font, which borrows no
// character from another face: they draw in DejaVu Sans, which has Latin and
// Cyrillic and borrows Japanese and emoji from the faces scripts/demo installs.
void DrawInDejaVu(HWND window, HFONT font) {
    EnumChildWindows(window, &SetFontOf, reinterpret_cast<LPARAM>(font));
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
    SimWinamp2 player(/*visible=*/true, Charset::Unicode);
    player.SetListCount(static_cast<int>(std::size(kPlaylist)));
    SimAolOptions aolOptions;
    aolOptions.entryBoxes = 2;
    aolOptions.visible = true;
    aolOptions.onLine = [](const std::string& line) { Say("AOL room", line); };
    SimAolClient aol(aolOptions);
    const tobla::ScopedFont dejaVu(  // made first, so that it outlives the AIM window
        CreateFontW(/*cHeight=*/-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_SWISS, L"DejaVu Sans"));
    SimAimOptions aimOptions;
    aimOptions.visible = true;
    aimOptions.charset = Charset::Unicode;
    aimOptions.onLine = [](const std::string& line) { Say("AIM chat", line); };
    SimAimClient aim(aimOptions);
    DrawInDejaVu(aim.Window(), dejaVu.get());
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
    SetWindowPos(tobla, nullptr, GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left) - 10,
                 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
