#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"

// Tobla under sustained work: a track change on every poll for a while, a user
// skipping through tracks, and a long stretch of ordinary play at speed. Every
// announcement is logged exactly once and in order, each chat gets the newest of them
// at its pace, and the program's memory and handles stay flat.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kIni = "[Tobla]\r\naol=1\r\naim=1\r\nformat=%s\r\n";
// The storm lasts until this many of its tracks are logged (a few seconds), or at
// most kStormMs.
constexpr std::size_t kStormAnnouncements = 100;
constexpr DWORD kStormMs = 60000;

std::string Title(long number) {
    char text[32];
    std::snprintf(text, sizeof text, "Artist - Track %06ld", number);
    return text;
}

std::string Caption(long number) { return "1. " + Title(number) + " - Winamp"; }

// The track numbers of lines ending in a title made by Title(), in order.
std::vector<long> TrackNumbers(const Lines& lines) {
    std::vector<long> numbers;
    for (const auto& line : lines) {
        const std::size_t at = line.rfind("Track ");
        numbers.push_back(at == std::string::npos ? -1 : std::atol(line.c_str() + at + 6));
    }
    return numbers;
}

// A chat's lines, sent at its pace: some of the logged tracks, each once, in the order
// logged, the last logged track last.
void ExpectSomeOfInOrder(const Lines& transcript, const std::vector<long>& logged) {
    const std::vector<long> sent = TrackNumbers(transcript);
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(std::adjacent_find(sent.begin(), sent.end(), std::greater_equal<>()) == sent.end());
    EXPECT_TRUE(std::includes(logged.begin(), logged.end(), sent.begin(), sent.end()));
    EXPECT_EQ(sent.back(), logged.back());
}

// Milliseconds of the performance counter, by which Tobla paces its lines.
long long NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart * 1000 / frequency.QuadPart;
}

struct Usage {
    SIZE_T privateBytes = 0, workingSet = 0;
    DWORD handles = 0, windows = 0;
};

// PROCESS_MEMORY_COUNTERS through kernel32's K32 entry, so the tests need no psapi.
using MemoryInfoFunction = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);

// The system's handle table (NtQuerySystemInformation's SystemHandleInformation),
// for a handle count where GetProcessHandleCount cannot give one (Wine, for another
// process).
struct SystemHandleEntry {
    ULONG ownerProcessId;
    BYTE objectType, flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
using QuerySystemFunction = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

DWORD CountHandlesInSystemTable(DWORD processId) {
    static const auto query = reinterpret_cast<QuerySystemFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<char> buffer(1 << 16);
    LONG status;
    ULONG needed = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return 0;
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries =
        reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD own = 0;
    for (ULONG i = 0; i < count; ++i) own += entries[i].ownerProcessId == processId;
    return own;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

struct WindowCount {
    DWORD processId;
    DWORD count;
};

BOOL CALLBACK CountOwnWindows(HWND window, LPARAM param) {
    auto* counting = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counting->processId) {
        ++counting->count;
        EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&counting->count));
    }
    return TRUE;
}

Usage Measure(DWORD processId) {
    Usage usage;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return usage;
    static const auto memoryInfo = reinterpret_cast<MemoryInfoFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (memoryInfo && memoryInfo(process, &counters, sizeof counters)) {
        usage.privateBytes = counters.PagefileUsage;
        usage.workingSet = counters.WorkingSetSize;
    }
    if (!GetProcessHandleCount(process, &usage.handles) || usage.handles == 0)
        usage.handles = CountHandlesInSystemTable(processId);
    CloseHandle(process);
    WindowCount counting{processId, 0};
    EnumWindows(&CountOwnWindows, reinterpret_cast<LPARAM>(&counting));
    usage.windows = counting.count;
    return usage;
}

void PrintUsage(const char* when, const Usage& u) {
    std::printf("  %s: private %lu KB, working set %lu KB, handles %lu, windows %lu\n", when,
                static_cast<unsigned long>(u.privateBytes / 1024),
                static_cast<unsigned long>(u.workingSet / 1024), u.handles, u.windows);
}

class Load : public ::testing::Test {
protected:
    void SetUp() override {
        player.SetCaption(Caption(0));
        player.SetPlayedMs(5000);
        folder.Write("Tobla.ini", kIni);
    }
    Lines Logged() { return LoggedTitles(folder.Read(TodayLogName())); }
    void LetPollsRun(int polls = 20) { ASSERT_TRUE(WaitForPolls(player, polls)); }

    // Each chat line as "MS LINE", with the time it arrived.
    static void Stamp(sim::Record& arrivals, const std::string& line) {
        arrivals.Add(std::to_string(NowMs()) + " " + line);
    }

    sim::Record aolArrivals, aimArrivals;
    sim::SimWinamp2 player;
    sim::SimAolClient aol{{.onLine = [this](const std::string& l) { Stamp(aolArrivals, l); }}};
    sim::SimAimClient aim{{.onLine = [this](const std::string& l) { Stamp(aimArrivals, l); }}};
    ProgramFolder folder;
};

// A user skipping through ten tracks, one every 1.2 s: every track is logged; each
// chat gets lines at least 2 s apart, the last track's last, within 2 s of its change.
TEST_F(Load, AFastSkipReachesEachChatAtItsPace) {
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    LetPollsRun();
    Lines played;
    long long changedAt = 0;
    for (long track = 1; track <= 10; ++track) {
        WaitUntil([&] { return NowMs() - changedAt >= 1200; });
        changedAt = NowMs();
        player.SetCaption(Caption(track));
        played.push_back(Title(track));
    }
    ASSERT_TRUE(aol.WaitForLine(played.back()) && aim.WaitForLine(played.back()));
    EXPECT_EQ(Logged(), played);
    for (auto* arrivals : {&aolArrivals, &aimArrivals}) {
        const Lines lines = arrivals->Lines();
        long long shortest = 1LL << 40, longest = 0;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const long long gap = std::atoll(lines[i].c_str()) - std::atoll(lines[i - 1].c_str());
            shortest = std::min(shortest, gap), longest = std::max(longest, gap);
        }
        const long long lastAfter = std::atoll(lines.back().c_str()) - changedAt;
        std::printf("  %zu lines, %lld to %lld ms apart, the last %lld ms after its change\n",
                    lines.size(), shortest, longest, lastAfter);
        EXPECT_GE(shortest, 2000 - 1);  // Tobla's reading and the client's, each cut to the ms
        EXPECT_EQ(TrackNumbers(lines).back(), 10);
        EXPECT_LE(lastAfter, 2000 + 500);  // the announcing tick and the send itself
    }
}

// The player moves to the next track whenever Tobla asks it for the time played,
// that is once in every poll, between Tobla's readings of the title. Whatever Tobla
// makes of that, each track it announces reaches the log exactly once, in the order
// played; each chat gets some of them at its pace, in that order, the last track
// last; and the user's half-typed AOL line survives them all.
TEST_F(Load, ATrackChangeOnEveryPoll) {
    aol.SetEntryText("half-typed");
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    volatile LONG changing = 1, played = 0;
    player.OnPlayedRequest([&]() -> std::string {
        return changing ? Caption(InterlockedIncrement(&played)) : std::string();
    });
    const DWORD stormStart = GetTickCount();
    while (Logged().size() < kStormAnnouncements && GetTickCount() - stormStart < kStormMs)
        Sleep(250);  // read the log seldom: the storm is Tobla's work, not the test's
    InterlockedExchange(&changing, 0);
    LetPollsRun();
    constexpr long kLast = 999999;
    player.SetCaption(Caption(kLast));
    ASSERT_TRUE(
        WaitUntil([&] { return !Logged().empty() && Logged().back() == Title(kLast); }, 20000));
    LetPollsRun();
    ASSERT_TRUE(aim.WaitForLine(Title(kLast)));
    ASSERT_TRUE(aol.WaitForLine(Title(kLast)));

    const Lines logged = Logged();
    const std::vector<long> numbers = TrackNumbers(logged);
    std::printf("  %ld tracks played, %zu announced\n", static_cast<long>(played), logged.size());
    EXPECT_GE(logged.size(), kStormAnnouncements);
    for (std::size_t i = 1; i < numbers.size(); ++i)
        ASSERT_LT(numbers[i - 1], numbers[i]) << "line " << i << ": " << logged[i];
    EXPECT_GT(numbers.front(), 0);
    ExpectSomeOfInOrder(aim.Transcript(), numbers);
    ExpectSomeOfInOrder(aol.Transcript(), numbers);
    EXPECT_EQ(aol.EntryText(), "half-typed");  // put back after every one of them
    EXPECT_TRUE(tobla.Running());
}

// Some hundreds of tracks, each announced before the next begins, as in hours of play
// (the chats get the newest at their pace); Tobla's memory, handles and windows are
// sampled after a warm-up, half-way and at the end. (GetGuiResources counts no GDI or
// USER objects under Wine, so they are not asked; the windows stand in for the latter.)
TEST_F(Load, HoursOfSteadyPlayKeepMemoryAndHandlesFlat) {
    constexpr int kTracks = 500, kWarmUp = 30;
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    Usage warm, half, end;
    Lines played;
    for (int track = 1; track <= kTracks; ++track) {
        if (track == kWarmUp) warm = Measure(tobla.ProcessId());
        if (track == kTracks / 2) half = Measure(tobla.ProcessId());
        player.SetCaption(Caption(track));
        played.push_back(Title(track));
        ASSERT_TRUE(WaitUntil([&] { return Logged().size() == played.size(); }))
            << "track " << track;
    }
    ASSERT_TRUE(aim.WaitForLine(played.back()));
    ASSERT_TRUE(aol.WaitForLine(played.back()));
    LetPollsRun();
    end = Measure(tobla.ProcessId());
    PrintUsage("after warm-up", warm);
    PrintUsage("half-way", half);
    PrintUsage("at the end", end);

    EXPECT_EQ(Logged(), played);
    ExpectSomeOfInOrder(aim.Transcript(), TrackNumbers(played));
    ExpectSomeOfInOrder(aol.Transcript(), TrackNumbers(played));
    EXPECT_GT(warm.handles, 0u);
    EXPECT_LE(end.handles, warm.handles + 10);
    EXPECT_EQ(end.windows, warm.windows);
    EXPECT_GT(warm.privateBytes, 0u);
    EXPECT_LE(end.privateBytes, warm.privateBytes + 1024 * 1024);
}

}  // namespace
}  // namespace tobla::e2e
