#include <gtest/gtest.h>

#include <map>

#include "core/Numbers.h"
#include "core/PollCycle.h"
#include "support/Fakes.h"
#include "support/FileFakes.h"

namespace tobla {
namespace {

using Events = std::vector<std::string>;

class PollCycleTest : public ::testing::Test {
protected:
    test::FakePlayer player;
    test::Recorder out;
    test::FakeControls controls;
    test::FakeYielder yielder;
    test::FakeClock clock;
    PollCycle cycle{{player, out.aol, out.aim, out, out, controls, yielder, clock},
                    "C:\\Tobla\\Tobla.ini"};

    // What the tick did besides reading the settings.
    Events Actions() {
        Events actions;
        for (const auto& e : out.events)
            if (e.rfind("ini ", 0) != 0) actions.push_back(e);
        return actions;
    }
    void TickTo(const std::string& title) {
        player.title = title;
        cycle.Tick();
    }

    // Each action with the time of the tick that made it.
    std::vector<std::pair<std::int64_t, std::string>> stamped;
    // Plays the title for `ms`, a tick every 10 ms; the player counts the seconds
    // played as Winamp 2 does (rounded: 1 from 501 ms on).
    void Play(const std::string& title, std::int64_t ms) {
        constexpr std::int64_t kTickMs = 10;
        player.title = title;
        for (std::int64_t t = 0; t < ms; t += kTickMs, clock.monotonic += kTickMs) {
            player.played = static_cast<std::int32_t>(DivideHalfEven(t, 1000));
            const std::size_t before = out.events.size();
            cycle.Tick();
            for (std::size_t i = before; i < out.events.size(); ++i) {
                if (out.events[i].rfind("ini ", 0) != 0)
                    stamped.emplace_back(clock.monotonic, out.events[i]);
            }
        }
    }
};

TEST_F(PollCycleTest, TrackPlayingAtStartIsNotAnnouncedTheNextOneIs) {
    cycle.SetLastAnnouncedTitle("First");
    TickTo("First");
    EXPECT_TRUE(Actions().empty());
    TickTo("Second");
    EXPECT_EQ(Actions(), (Events{"aol <font face=\"Arial\" color=>Second - ( 3:45 / 128 )",
                                 "aim Second - ( 3:45 / 128 )", "log Second"}));
    EXPECT_EQ(controls.label4, "Second");
}

// A station's title cannot open mark-up in the AOL room; the user's template can,
// and the AIM line and the log get the title as read.
TEST_F(PollCycleTest, FactsCannotOpenMarkupInTheAolLine) {
    controls.templateText = "<b>%s</b> (%l / %b) %c";
    player.length = "<!--";
    player.bitrate = "<i>";
    player.count = "<";
    const std::string title = "<a href=\"http://x\">Click</a> <B>Live</B> <3 <?x <%b";
    TickTo(title);
    EXPECT_EQ(Actions(),
              (Events{"aol <font face=\"Arial\" color=><b>&lt;a href=\"http://x\">Click&lt;/a> "
                      "&lt;B>Live&lt;/B> <3 &lt;?x &lt;&lt;i></b> (&lt;!-- / &lt;i>) &lt;",
                      "aim <b><a href=\"http://x\">Click</a> <B>Live</B> <3 <?x <<i></b> "
                      "(<!-- / <i>) <",
                      "log " + title}));
}

TEST_F(PollCycleTest, ReadsColourEveryTickBeforeTheChangeTest) {
    out.color = "16711680";
    cycle.SetLastAnnouncedTitle("Same");
    TickTo("Same");
    EXPECT_EQ(out.events, (Events{"ini Tobla color C:\\Tobla\\Tobla.ini",
                                  "ini Tobla color C:\\Tobla\\Tobla.ini"}));
    out.events.clear();
    TickTo("New");
    EXPECT_EQ(Actions().front(), "aol <font face=\"Arial\" color=#0000FF>New - ( 3:45 / 128 )");
}

TEST_F(PollCycleTest, IdenticalConsecutiveTitlesAnnounceOnce) {
    TickTo("A");
    TickTo("A");
    TickTo("A");
    EXPECT_EQ(Actions().size(), 3u);  // one aol, one aim, one log
}

// A caption read as it moved on can show the change test a title that the record's
// reading does not: such a tick announces nothing, and the next one reads afresh.
TEST_F(PollCycleTest, ReadingsThatDisagreeWithinATickAnnounceNothing) {
    cycle.SetLastAnnouncedTitle("A");
    player.readings = {"12.A", "12.A", "A"};  // the change test's two, then the record's
    TickTo("A");
    EXPECT_TRUE(Actions().empty());
    EXPECT_EQ(controls.label4, "A");
    TickTo("B");
    EXPECT_EQ(Actions(), (Events{"aol <font face=\"Arial\" color=>B - ( 3:45 / 128 )",
                                 "aim B - ( 3:45 / 128 )", "log B"}));
}

TEST_F(PollCycleTest, WaitsForOneSecondPlayedAndForBufferingToEnd) {
    player.played = 0;
    TickTo("A");
    EXPECT_TRUE(Actions().empty());
    player.played = 1;
    TickTo("B [Buffer: 50%]");
    EXPECT_TRUE(Actions().empty());
    TickTo("B [buffer: 50%]");
    EXPECT_EQ(Actions().back(), "log B [buffer: 50%]");
}

TEST_F(PollCycleTest, ChangeTestReadsAllThreeEveryTick) {
    std::vector<std::string> calls;
    player.calls = &calls;
    player.played = 0;
    cycle.SetLastAnnouncedTitle("A");
    TickTo("A");
    EXPECT_EQ(calls, (Events{"title", "played", "title"}));
}

TEST_F(PollCycleTest, AFailingReadingOfTheChangeTestMeansNoChange) {
    player.failPlayed = true;
    TickTo("A");
    player.failPlayed = false;
    player.failTitle = true;
    TickTo("B");
    EXPECT_TRUE(Actions().empty());
    EXPECT_EQ(cycle.LastAnnouncedTitle(), "");
}

TEST_F(PollCycleTest, TargetsFollowTheirBoxesAndTheLogIsAlwaysWritten) {
    controls.aol = false;
    controls.aim = false;
    TickTo("A");
    EXPECT_EQ(Actions(), (Events{"log A"}));
    controls.aim = true;
    out.aim.open = false;
    TickTo("B");
    EXPECT_EQ(Actions().back(), "log B");
    EXPECT_EQ(Actions().size(), 2u);  // no AIM window: only the AIM target is skipped
}

TEST_F(PollCycleTest, FailingAolSendDoesNotStopAimOrLog) {
    out.aol.failSend = true;
    TickTo("A");
    EXPECT_EQ(Actions().size(), 3u);
    EXPECT_EQ(Actions()[1], "aim A - ( 3:45 / 128 )");
}

// The lines name the track recorded and logged, whatever the title reads afterwards.
TEST_F(PollCycleTest, PlayerSilentAfterTheRecordStillGetsTheRecordedTitleInItsLines) {
    player.titlesBeforeFailing = 3;  // the change test's two readings and the record
    player.failLength = true;
    TickTo("A");
    EXPECT_EQ(Actions(), (Events{"aol <font face=\"Arial\" color=>A - ( %l / 128 )",
                                 "aim A - ( %l / 128 )", "log A"}));
}

TEST_F(PollCycleTest, BlankTemplateIsReplacedAndUsedInTheSameTick) {
    controls.templateText = "   ";
    TickTo("A");
    EXPECT_EQ(controls.templateWrites, Events{"%s - ( %l / %b )"});
    EXPECT_EQ(Actions()[1], "aim A - ( 3:45 / 128 )");
    EXPECT_EQ(yielder.count, 3);  // one yield per space removed
    controls.templateText = "\t";
    clock.monotonic += ChatPacer::kPaceMs;
    TickTo("B");
    EXPECT_EQ(Actions()[4], "aim \t");
}

TEST_F(PollCycleTest, TitleKeptWholeForTheChangeTestAndLoggedAsShown) {
    const std::string title("Song - W\0\0", 10);
    TickTo(title);
    EXPECT_EQ(cycle.LastAnnouncedTitle(), title);
    EXPECT_EQ(Actions()[1], "aim " + title + " - ( 3:45 / 128 )");  // NULs follow the W
    EXPECT_EQ(Actions().back(), "log Song - W");                    // as Label4 shows it
    out.events.clear();
    TickTo(title);
    EXPECT_TRUE(Actions().empty());
}

TEST_F(PollCycleTest, ATickInsideAYieldStartsNoSecondAnnouncement) {
    controls.templateText = "%s %l";  // one space: one yield inside the announcement
    int nested = 0;
    yielder.onYield = [&] {
        ++nested;
        player.title = "Other";
        cycle.Tick();  // overlapping tick returns at once
    };
    out.aol.duringSend = [&] { cycle.Tick(); };
    TickTo("A");
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Actions(), (Events{"aol <font face=\"Arial\" color=>A 3:45", "aim A 3:45", "log A"}));
    yielder.onYield = nullptr;
    cycle.Tick();  // the title read inside the yield is announced by the next tick...
    EXPECT_EQ(Actions().back(), "log Other");  // ...its lines waiting for the chats' pace
}

// Skipping through tracks, one every 1.2 s: each is logged as it is announced, but
// each chat gets a line at most every 2 s, never the line of a track skipped while it
// waited, and the last track's line within 2 s of its announcement.
TEST_F(PollCycleTest, FastSkipGivesEachChatItsLinesAtItsPace) {
    controls.templateText = "%s";
    for (int track = 1; track < 10; ++track) Play("Track " + std::to_string(track), 1200);
    Play("Track 10", 5000);

    std::map<std::int64_t, std::string> logged;  // by the time of the announcing tick
    for (const auto& [at, action] : stamped)
        if (action.rfind("log ", 0) == 0) logged[at] = action.substr(4);
    ASSERT_EQ(logged.size(), 10u);
    const std::int64_t never = -ChatPacer::kPaceMs;
    std::map<std::string, std::int64_t> sentAt{{"aol", never}, {"aim", never}};
    std::map<std::string, std::string> lastSent;
    for (const auto& [at, action] : stamped) {
        const std::string chat = action.substr(0, 3), track = action.substr(action.rfind("Track "));
        if (chat == "log") continue;
        ASSERT_NE(logged.upper_bound(at), logged.begin()) << action;
        EXPECT_EQ(track, std::prev(logged.upper_bound(at))->second)
            << action << " at " << at << ", skipped while it waited";
        EXPECT_GE(at - sentAt[chat], ChatPacer::kPaceMs) << action;
        sentAt[chat] = at, lastSent[chat] = track;
    }
    for (const char* chat : {"aol", "aim"}) {
        EXPECT_EQ(lastSent[chat], "Track 10") << chat;
        EXPECT_LE(sentAt[chat] - logged.rbegin()->first, ChatPacer::kPaceMs) << chat;
    }
}

TEST_F(PollCycleTest, ABoxUntickedWhileItsLineWaitsTakesTheLineBack) {
    controls.templateText = "%s";
    TickTo("A");
    TickTo("B");  // within the pace: B's lines wait
    controls.aol = false;
    clock.monotonic += ChatPacer::kPaceMs;
    cycle.Tick();
    EXPECT_EQ(Actions(),
              (Events{"aol <font face=\"Arial\" color=>A", "aim A", "log A", "log B", "aim B"}));
}

TEST_F(PollCycleTest, TracksSkippedBeforeTheChosenTimeAreNotAnnounced) {
    out.settle = "5";
    for (const char* track : {"One", "Two", "Three", "Four"}) Play(track, 3000);
    const std::int64_t longStart = clock.monotonic;
    Play("Long", 20000);
    ASSERT_EQ(stamped.size(), 3u);
    EXPECT_EQ(stamped[2].second, "log Long");
    EXPECT_GT(stamped[0].first - longStart, 4500);  // played 5 s as the player counts
    EXPECT_LE(stamped[0].first - longStart, 5500);
}

// While a stream is cut off the player shows its state before the title: no track, so
// the stream's title coming back is no new one either. A file's title may begin with
// a bracket of its own.
TEST_F(PollCycleTest, AStreamsPassingStateIsNeitherAnnouncedNorRecorded) {
    player.stream = true;
    TickTo("Station - Song");
    out.events.clear();
    TickTo("[Stream temporarily interrupted] Station - Song");
    TickTo("Station - Song");
    EXPECT_TRUE(Actions().empty());
    EXPECT_EQ(controls.label4, "Station - Song");
    player.stream = false;
    TickTo("[Live] Artist - Song");
    EXPECT_EQ(cycle.LastAnnouncedTitle(), "[Live] Artist - Song");
}

}  // namespace
}  // namespace tobla
