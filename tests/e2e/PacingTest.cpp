#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "SimAim.h"
#include "SimAol.h"
#include "SimWinamp.h"
#include "e2e/ToblaProcess.h"

// A user skipping through a playlist faster than a chat takes lines: every track is
// logged, and each chat gets its lines at its own pace, the last track's line last.
namespace tobla::e2e {
namespace {

using Lines = std::vector<std::string>;
constexpr long long kPaceMs = 2000;

// Milliseconds of the performance counter, which Tobla paces its lines by.
long long NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    const long long perSecond = frequency.QuadPart;
    return count.QuadPart / perSecond * 1000 + count.QuadPart % perSecond * 1000 / perSecond;
}

// Each line a chat client receives, as "MS LINE" with the time it arrived.
std::function<void(const std::string&)> Stamped(sim::Record& arrivals) {
    return [&arrivals](const std::string& line) {
        arrivals.Add(std::to_string(NowMs()) + " " + line);
    };
}

TEST(Pacing, AFastSkipReachesEachChatAtItsPace) {
    sim::Record aolArrivals, aimArrivals;
    sim::SimWinamp2 player;
    sim::SimAolClient aol{{.onLine = Stamped(aolArrivals)}};
    sim::SimAimClient aim{{.onLine = Stamped(aimArrivals)}};
    ProgramFolder folder;
    folder.Write("Tobla.ini", "[Tobla]\r\naol=1\r\naim=1\r\nformat=%s\r\n");
    player.SetCaption("1. Artist - Start - Winamp");
    player.SetPlayedMs(5000);
    ToblaProcess tobla(folder);
    ASSERT_TRUE(tobla.Started());
    ASSERT_TRUE(WaitForPolls(player));

    Lines played;
    long long lastChange = 0;
    for (int track = 1; track <= 10; ++track) {
        if (track > 1) WaitUntil([&] { return NowMs() - lastChange >= 1200; });
        played.push_back("Track " + std::to_string(track));
        lastChange = NowMs();
        player.SetCaption(std::to_string(track + 1) + ". " + played.back() + " - Winamp");
    }
    ASSERT_TRUE(aol.WaitForLine(played.back()));
    ASSERT_TRUE(aim.WaitForLine(played.back()));
    EXPECT_EQ(LoggedTitles(folder.Read(TodayLogName())), played);

    for (auto* arrivals : {&aolArrivals, &aimArrivals}) {
        long long previousMs = -1, previousTrack = 0;
        for (const auto& arrival : arrivals->Lines()) {
            const long long ms = std::atoll(arrival.c_str());
            const long long track = std::atoll(arrival.c_str() + arrival.rfind("Track ") + 6);
            std::printf("  %s, %lld ms after the previous line\n", arrival.c_str(),
                        previousMs < 0 ? 0 : ms - previousMs);
            // Tobla's reading and the client's are each cut to the millisecond.
            if (previousMs >= 0) {
                EXPECT_GE(ms - previousMs, kPaceMs - 1) << arrival;
            }
            EXPECT_GT(track, previousTrack) << arrival;
            previousMs = ms;
            previousTrack = track;
        }
        EXPECT_EQ(previousTrack, 10);
        // The tick that announces the last track and the send itself take a little.
        EXPECT_LE(previousMs - lastChange, kPaceMs + 500);
    }
}

}  // namespace
}  // namespace tobla::e2e
