// Measures Tobla.exe against a simulated Winamp 2.x, AOL chat room and AIM chat
// window: start-up time against BareWindow.exe, a program that only shows a window;
// idle CPU cost against ToblaFloor.exe, a program that only polls the player;
// announcement latency; resources before and after a simulated play; and the size of
// Tobla.exe. Prints a Markdown report.
//
// Usage: ToblaBench [--rounds N] [--idle-seconds N] [--changes N] [--play N] [--start-pairs N]
//                   [--start-gap-ms N] [--wineserver HOST_PID] [--startup-only]
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Arrivals.h"
#include "Measure.h"
#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"

namespace tobla::bench {
namespace {

constexpr const char* kSettings =
    "[Tobla]\r\naol=1\r\naim=1\r\ncolor=16711680\r\nfont=Arial\r\nformat=%s - ( %l / %b )\r\n";
constexpr const char* kToblaClass = "Tobla";
constexpr const char* kBareWindowClass = "ToblaBareWindow";
constexpr const char* kPlayedTimeRequest = "105 0";
constexpr DWORD kLineTimeoutMs = 5000;
// Tobla sends a chat at most one line every 2 s; a change waits this long after the
// previous line, so that its line goes out as soon as it is announced.
constexpr double kPaceMs = 2000 + 100;

struct Options {
    int rounds = 3, idleSeconds = 10, changes = 30, play = 500, startPairs = 6, startGapMs = 5000;
    unsigned long wineserverPid = 0;
    bool startUpOnly = false;
};

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--startup-only") {
            o.startUpOnly = true;
            continue;
        }
        if (i + 1 == argc) break;
        const long value = std::atol(argv[++i]);
        if (name == "--rounds")
            o.rounds = static_cast<int>(value);
        else if (name == "--idle-seconds")
            o.idleSeconds = static_cast<int>(value);
        else if (name == "--changes")
            o.changes = static_cast<int>(value);
        else if (name == "--play")
            o.play = static_cast<int>(value);
        else if (name == "--start-pairs")
            o.startPairs = static_cast<int>(value);
        else if (name == "--start-gap-ms")
            o.startGapMs = static_cast<int>(value);
        else if (name == "--wineserver")
            o.wineserverPid = static_cast<unsigned long>(value);
    }
    return o;
}

void Note(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The simulated outside world: a playing player and both chat clients, whose
// lines are stamped as they arrive.
struct World {
    Arrivals aolLines, aimLines;
    sim::SimWinamp2 player;
    sim::SimAolClient aol{{.onLine = [this](const std::string& l) { aolLines.Add(l); }}};
    sim::SimAimClient aim{{.onLine = [this](const std::string& l) { aimLines.Add(l); }}};

    World() {
        player.SetCaption("1. Bench Artist - Already Playing - Winamp");
        player.SetPlayedMs(5000);  // well past the first second: a change is announced at once
        player.SetSongSeconds(225);
        player.SetBitrate(128);
        player.SetListCount(10);
        player.SetListIndex(0);
    }
    // Ticks of a poller since the last Clear: each asks for the played time once.
    std::size_t Ticks() {
        std::size_t n = 0;
        for (const auto& line : player.Requests().Lines()) n += line == kPlayedTimeRequest;
        return n;
    }
};

// One program's idle runs, summed over the rounds.
struct IdleCost {
    double cpuMs = 0, seconds = 0, serverMs = 0;
    std::size_t ticks = 0;
    bool serverKnown = true;
    std::vector<double> roundMsPerS;

    double CpuMsPerS() const { return seconds > 0 ? cpuMs / seconds : -1; }
    double TicksPerS() const { return seconds > 0 ? ticks / seconds : 0; }
    double CpuUsPerTick() const { return ticks > 0 ? cpuMs * 1000 / ticks : -1; }
    double ServerMsPerS() const { return serverKnown && seconds > 0 ? serverMs / seconds : -1; }
};

void MeasureIdle(Process& process, World& world, const Options& o, IdleCost& cost) {
    world.player.Requests().Clear();
    const double wall0 = NowMs(), cpu0 = process.CpuMs();
    const double server0 = HostProcessCpuMs(o.wineserverPid);
    Sleep(static_cast<DWORD>(o.idleSeconds) * 1000);
    const double cpu1 = process.CpuMs(), server1 = HostProcessCpuMs(o.wineserverPid);
    const std::size_t ticks = world.Ticks();
    const double seconds = (NowMs() - wall0) / 1000.0;
    cost.cpuMs += cpu1 - cpu0;
    cost.seconds += seconds;
    cost.ticks += ticks;
    cost.roundMsPerS.push_back((cpu1 - cpu0) / seconds);
    if (server0 >= 0 && server1 >= 0)
        cost.serverMs += server1 - server0;
    else
        cost.serverKnown = false;
}

// Starts the program from a fresh folder, lets it settle (Tobla: until its window
// shows, then 2 s), measures one idle round and ends it.
void IdleRound(const char* exeName, const std::string& arguments, World& world, const Options& o,
               IdleCost& cost) {
    ProgramFolder folder(exeName, kSettings);
    Process process(folder.Exe(), arguments);
    if (!process.Started()) return;
    if (std::strcmp(exeName, "Tobla.exe") == 0) process.WaitForVisibleWindow(kToblaClass, 30000);
    Sleep(2000);
    MeasureIdle(process, world, o, cost);
}

// The median of the starts that showed a window (a failed start is -1); -1 when none did.
double MedianShown(std::vector<double> startMs) {
    std::erase_if(startMs, [](double ms) { return ms < 0; });
    return startMs.empty() ? -1 : Median(startMs);
}

struct StartUp {
    double toblaFirstMs = -1, floorFirstMs = -1;  // the first start of each in this Wine session
    std::vector<double> floorMs, toblaMs;         // in turn, each some seconds after the last ended
    std::vector<double> restartMs;  // each right after the previous one was terminated

    double Ratio() const {
        const double floor = MedianShown(floorMs), tobla = MedianShown(toblaMs);
        return floor > 0 && tobla > 0 ? tobla / floor : -1;
    }
};

// CreateProcess until the program's window of `className` is visible; -1 when it
// does not show.
double TimeOneStart(const ProgramFolder& folder, const char* className) {
    Process process(folder.Exe());
    const double shown = process.WaitForVisibleWindow(className, 30000);
    const double ms = shown < 0 ? -1 : shown - process.StartedAtMs();
    Sleep(300);  // let it settle before it goes, as a user's start would
    return ms;
}

// The first start of Tobla.exe in this Wine session and of the bare window, then
// pairs of starts in turn, bare window first, each `startGapMs` after the previous
// program was terminated, so that the machine's other load falls on both alike; then
// two restarts of Tobla.exe with no pause: a terminated instance leaves Wine work
// behind that a new start waits for.
StartUp MeasureStartUp(const ProgramFolder& tobla, const ProgramFolder& bare, const Options& o) {
    StartUp r;
    r.toblaFirstMs = TimeOneStart(tobla, kToblaClass);
    Sleep(static_cast<DWORD>(o.startGapMs));
    r.floorFirstMs = TimeOneStart(bare, kBareWindowClass);
    Note("start-up, first: Tobla.exe %.1f ms, bare window %.1f ms", r.toblaFirstMs, r.floorFirstMs);
    for (int i = 0; i < o.startPairs; ++i) {
        Sleep(static_cast<DWORD>(o.startGapMs));
        r.floorMs.push_back(TimeOneStart(bare, kBareWindowClass));
        Sleep(static_cast<DWORD>(o.startGapMs));
        r.toblaMs.push_back(TimeOneStart(tobla, kToblaClass));
        Note("start-up, pair %d of %d: bare window %.1f ms, Tobla.exe %.1f ms", i + 1, o.startPairs,
             r.floorMs.back(), r.toblaMs.back());
    }
    for (int i = 0; i < 2; ++i) {
        r.restartMs.push_back(TimeOneStart(tobla, kToblaClass));
        Note("start-up, at once after the previous: %.1f ms", r.restartMs.back());
    }
    return r;
}

std::string TrackCaption(int number) {
    return Format("1. Bench Artist - Track %05d - Winamp", number);
}
std::string TrackMarker(int number) { return Format("Track %05d", number); }

struct Changes {
    std::vector<double> aolLatencyMs;
    int missed = 0;
    double seconds = 0;
};

// Changes the caption `count` times, numbering from `first`, each once the chats' pace
// allows a line at once, and waits for the AOL and the AIM line of each, then until
// Tobla is back to idle ticks, so that each change meets an idle poller.
Changes MeasureLatency(World& world, int first, int count) {
    Changes result;
    const double start = NowMs();
    double lastLineAt = 0;
    for (int number = first; number < first + count; ++number) {
        while (NowMs() < lastLineAt + kPaceMs) Sleep(1);
        world.player.Requests().Clear();
        const double changedAt = NowMs();
        world.player.SetCaption(TrackCaption(number));
        const double aolAt = world.aolLines.WaitFor(TrackMarker(number), kLineTimeoutMs);
        const double aimAt = world.aimLines.WaitFor(TrackMarker(number), kLineTimeoutMs);
        if (aolAt < 0 || aimAt < 0) ++result.missed;
        if (aolAt >= 0) result.aolLatencyMs.push_back(aolAt - changedAt);
        lastLineAt = std::max(aolAt, aimAt) >= 0 ? std::max(aolAt, aimAt) : NowMs();
        const std::size_t ticks = world.Ticks();
        const double deadline = NowMs() + 2000;
        while (world.Ticks() < ticks + 2 && NowMs() < deadline) Sleep(1);
    }
    result.seconds = (NowMs() - start) / 1000.0;
    return result;
}

// Changes the caption `count` times at full speed, each once Tobla has polled twice
// since (and so announced it), then waits for the last track's AOL and AIM lines: the
// chats get the newest track at their pace, the others are skipped.
Changes PlayAtSpeed(World& world, int first, int count) {
    Changes result;
    const double start = NowMs();
    const int last = first + count - 1;
    for (int number = first; number <= last; ++number) {
        world.player.Requests().Clear();
        world.player.SetCaption(TrackCaption(number));
        const double deadline = NowMs() + 2000;
        while (world.Ticks() < 2 && NowMs() < deadline) Sleep(1);
    }
    const double aolAt = world.aolLines.WaitFor(TrackMarker(last), kLineTimeoutMs);
    const double aimAt = world.aimLines.WaitFor(TrackMarker(last), kLineTimeoutMs);
    result.missed = aolAt < 0 || aimAt < 0;
    result.seconds = (NowMs() - start) / 1000.0;
    return result;
}

long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return static_cast<long>(data.nFileSizeLow);
}

// ---- the report

struct Row {
    std::string metric, measured, goal, verdict;
};

std::string Verdict(bool known, bool met) {
    return !known ? "not measured" : met ? "met" : "missed";
}

std::string Kb(double kb) { return Format("%.0f KiB", kb); }

bool FlatMemory(double before, double after) { return after <= before * 1.05; }
bool FlatCount(DWORD before, DWORD after) { return after <= before + 2; }

void PrintTable(const std::vector<Row>& rows) {
    std::printf("| Metric | Measured | Goal | Verdict |\n|---|---|---|---|\n");
    for (const auto& r : rows)
        std::printf("| %s | %s | %s | %s |\n", r.metric.c_str(), r.measured.c_str(), r.goal.c_str(),
                    r.verdict.c_str());
}

struct Results {
    Options options;
    double timerPeriodMs = -1;
    IdleCost floor, floorPlayerOnly, tobla;
    StartUp startUp;
    Changes latency, play;
    Resources idle, beforePlay, afterPlay;
    long exeBytes = -1;
};

std::vector<Row> IdleRows(const Results& r) {
    std::vector<Row> rows;
    const std::string span = Format(", %d x %d s", r.options.rounds, r.options.idleSeconds);
    rows.push_back({"Idle CPU, floor program" + span,
                    Format("%.2f ms/s (%.1f ticks/s, %.1f us/tick)", r.floor.CpuMsPerS(),
                           r.floor.TicksPerS(), r.floor.CpuUsPerTick()),
                    "", "reference"});
    rows.push_back({"Idle CPU, floor program without the settings reads" + span,
                    Format("%.2f ms/s (%.1f ticks/s, %.1f us/tick)", r.floorPlayerOnly.CpuMsPerS(),
                           r.floorPlayerOnly.TicksPerS(), r.floorPlayerOnly.CpuUsPerTick()),
                    "", "information"});
    const bool known = r.floor.CpuMsPerS() > 0 && r.tobla.CpuMsPerS() >= 0;
    const double ratio = known ? r.tobla.CpuMsPerS() / r.floor.CpuMsPerS() : 0;
    rows.push_back({"Idle CPU, Tobla.exe" + span,
                    Format("%.2f ms/s (%.1f ticks/s, %.1f us/tick) = %.2fx floor",
                           r.tobla.CpuMsPerS(), r.tobla.TicksPerS(), r.tobla.CpuUsPerTick(), ratio),
                    "<= 1.5x floor", Verdict(known, ratio <= 1.5)});
    const bool perTickKnown = r.floor.CpuUsPerTick() > 0 && r.tobla.CpuUsPerTick() >= 0;
    const double perTick = perTickKnown ? r.tobla.CpuUsPerTick() / r.floor.CpuUsPerTick() : 0;
    rows.push_back({"Idle CPU per tick, Tobla / floor", Format("%.2fx", perTick), "<= 1.5x",
                    Verdict(perTickKnown, perTick <= 1.5)});
    if (r.floor.ServerMsPerS() >= 0 && r.tobla.ServerMsPerS() >= 0)
        rows.push_back({"wineserver CPU meanwhile: floor / floor without settings / Tobla",
                        Format("%.1f / %.1f / %.1f ms/s", r.floor.ServerMsPerS(),
                               r.floorPlayerOnly.ServerMsPerS(), r.tobla.ServerMsPerS()),
                        "", "information"});
    return rows;
}

std::vector<Row> LatencyRows(const Results& r) {
    std::vector<Row> rows;
    rows.push_back(
        {"Timer period (SetTimer 1 ms)", Format("%.2f ms", r.timerPeriodMs), "", "information"});
    const double median = Median(r.latency.aolLatencyMs);
    const bool known = !r.latency.aolLatencyMs.empty() && r.timerPeriodMs > 0;
    rows.push_back({Format("Announcement latency, median of %zu", r.latency.aolLatencyMs.size()),
                    Format("%.1f ms", median),
                    Format("<= 2 periods (%.1f ms)", 2 * r.timerPeriodMs),
                    Verdict(known, median <= 2 * r.timerPeriodMs)});
    rows.push_back({"Announcement latency, 99th percentile",
                    Format("%.1f ms (max %.1f ms)", Percentile(r.latency.aolLatencyMs, 99),
                           Percentile(r.latency.aolLatencyMs, 100)),
                    "", "information"});
    return rows;
}

std::vector<Row> StartUpRows(const Results& r) {
    const StartUp& s = r.startUp;
    const std::string turns = Format("median of %zu, in turn, %.1f s apart", s.toblaMs.size(),
                                     r.options.startGapMs / 1000.0);
    const double floor = MedianShown(s.floorMs), tobla = MedianShown(s.toblaMs), ratio = s.Ratio();
    std::vector<Row> rows;
    rows.push_back({"Start-up to visible window, first start of Tobla.exe",
                    Format("%.0f ms", s.toblaFirstMs), "", "information"});
    rows.push_back({"Start-up to visible window, bare window (floor), " + turns,
                    Format("%.0f ms", floor), "", "reference"});
    rows.push_back({"Start-up to visible window, Tobla.exe, " + turns,
                    Format("%.0f ms = %.2fx floor", tobla, ratio), "<= 1.5x floor",
                    Verdict(ratio > 0, ratio <= 1.5)});
    rows.push_back({"Start-up right after a terminated instance (median of 2)",
                    Format("%.0f ms", MedianShown(s.restartMs)), "", "information"});
    return rows;
}

void PrintStartUpDetails(const StartUp& s) {
    std::printf("Start-ups in turn, bare window / Tobla.exe (ms, -1: no window within 30 s):");
    for (std::size_t i = 0; i < s.toblaMs.size(); ++i)
        std::printf("%s %.0f / %.0f", i ? "," : "", s.floorMs[i], s.toblaMs[i]);
    std::printf(
        "; first starts: bare window %.0f, Tobla.exe %.0f; restarts right after a "
        "terminated instance:",
        s.floorFirstMs, s.toblaFirstMs);
    for (double ms : s.restartMs) std::printf(" %.0f", ms);
    std::printf("\n");
}

std::vector<Row> ResourceRows(const Results& r) {
    const Resources& b = r.beforePlay;
    const Resources& a = r.afterPlay;
    const std::string span = Format("before -> after %d changes", r.options.play);
    std::vector<Row> rows;
    rows.push_back({"Simulated play",
                    Format("%d changes in %.1f s, last lines %s", r.options.play, r.play.seconds,
                           r.play.missed ? "missed" : "received"),
                    "last lines received", Verdict(true, r.play.missed == 0)});
    rows.push_back(
        {"Peak working set, " + span, Kb(b.peakWorkingSetKb) + " -> " + Kb(a.peakWorkingSetKb),
         "flat (+5% at most)",
         Verdict(b.peakWorkingSetKb > 0, FlatMemory(b.peakWorkingSetKb, a.peakWorkingSetKb))});
    rows.push_back({"Working set, " + span, Kb(b.workingSetKb) + " -> " + Kb(a.workingSetKb),
                    "flat (+5% at most)",
                    Verdict(b.workingSetKb > 0, FlatMemory(b.workingSetKb, a.workingSetKb))});
    rows.push_back({"Private bytes, " + span, Kb(b.privateKb) + " -> " + Kb(a.privateKb),
                    "flat (+5% at most)",
                    Verdict(b.privateKb > 0, FlatMemory(b.privateKb, a.privateKb))});
    rows.push_back({"Handles (system handle table), " + span,
                    Format("%ld -> %ld", b.systemHandles, a.systemHandles), "flat (+2 at most)",
                    Verdict(b.systemHandles > 0, a.systemHandles <= b.systemHandles + 2)});
    rows.push_back({"Windows of the process (USER objects), " + span,
                    Format("%ld -> %ld", b.windows, a.windows), "flat (+2 at most)",
                    Verdict(b.windows > 0, a.windows <= b.windows + 2)});
    rows.push_back({"GetProcessHandleCount / GetGuiResources GDI / USER, " + span,
                    Format("%lu/%lu/%lu -> %lu/%lu/%lu", b.handles, b.gdiObjects, b.userObjects,
                           a.handles, a.gdiObjects, a.userObjects),
                    "flat",
                    b.gdiObjects == 0 && b.handles == 0
                        ? "not measured (0 under Wine)"
                        : Verdict(true, FlatCount(b.handles, a.handles) &&
                                            FlatCount(b.gdiObjects, a.gdiObjects) &&
                                            FlatCount(b.userObjects, a.userObjects))});
    const double mib = r.exeBytes / (1024.0 * 1024.0);
    rows.push_back({"Size of Tobla.exe", Format("%ld bytes (%.2f MiB)", r.exeBytes, mib),
                    "< 1.5 MiB", Verdict(r.exeBytes > 0, mib < 1.5)});
    return rows;
}

void PrintReport(const Results& r) {
    std::vector<Row> rows = IdleRows(r);
    for (auto* part : {&LatencyRows, &StartUpRows, &ResourceRows})
        for (auto& row : part(r)) rows.push_back(row);
    PrintTable(rows);
    const Resources& i = r.idle;
    std::printf(
        "\nTobla.exe 2 s after its start, before any change: working set %s (peak %s), "
        "private %s, %ld handles, %ld windows.\n",
        Kb(i.workingSetKb).c_str(), Kb(i.peakWorkingSetKb).c_str(), Kb(i.privateKb).c_str(),
        i.systemHandles, i.windows);
    std::printf("Idle: %d rounds of %d s for each program, in turn; CPU ms/s per round:\n",
                r.options.rounds, r.options.idleSeconds);
    const std::pair<const char*, const IdleCost*> programs[] = {
        {"floor", &r.floor},
        {"floor without settings", &r.floorPlayerOnly},
        {"Tobla.exe", &r.tobla}};
    for (const auto& [name, cost] : programs) {
        std::printf("- %s:", name);
        for (double msPerS : cost->roundMsPerS) std::printf(" %.1f", msPerS);
        std::printf("\n");
    }
    std::printf("Latency: %zu changes with %d missed.\n", r.latency.aolLatencyMs.size(),
                r.latency.missed);
    PrintStartUpDetails(r.startUp);
}

}  // namespace
}  // namespace tobla::bench

int main(int argc, char** argv) {
    using namespace tobla::bench;
    Results r;
    r.options = ParseOptions(argc, argv);
    World world;

    // Start-up first: the first start of Tobla.exe in this Wine session is the cold one.
    ProgramFolder folder("Tobla.exe", kSettings);
    ProgramFolder bare("BareWindow.exe", kSettings);
    Note("bench: start-up, first starts, then %d pairs in turn", r.options.startPairs);
    r.startUp = MeasureStartUp(folder, bare, r.options);
    if (r.options.startUpOnly) {
        PrintTable(StartUpRows(r));
        std::printf("\n");
        PrintStartUpDetails(r.startUp);
        return 0;
    }
    Note("bench: timer period");
    r.timerPeriodMs = MeasureTimerPeriodMs(2000);

    // Idle rounds in turn, so that a change in the machine's other load falls on all
    // three programs alike.
    for (int round = 1; round <= r.options.rounds; ++round) {
        Note("bench: idle round %d of %d, %d s each: floor, floor without settings, Tobla.exe",
             round, r.options.rounds, r.options.idleSeconds);
        IdleRound("ToblaFloor.exe", "", world, r.options, r.floor);
        IdleRound("ToblaFloor.exe", "player-only", world, r.options, r.floorPlayerOnly);
        IdleRound("Tobla.exe", "", world, r.options, r.tobla);
    }

    Process tobla(folder.Exe());
    if (tobla.WaitForVisibleWindow("Tobla", 30000) < 0) {
        std::fprintf(stderr, "bench: Tobla.exe did not show its window\n");
        return 1;
    }
    Sleep(2000);  // settled
    r.idle = tobla.Snapshot();

    Note("bench: announcement latency, %d changes", r.options.changes);
    r.latency = MeasureLatency(world, 1, r.options.changes);
    r.beforePlay = tobla.Snapshot();
    Note("bench: simulated play, %d changes", r.options.play);
    r.play = PlayAtSpeed(world, 10000, r.options.play);
    Sleep(500);
    r.afterPlay = tobla.Snapshot();
    tobla.Terminate();

    r.exeBytes = FileSize(BesideMe("Tobla.exe"));
    PrintReport(r);
    return 0;
}
