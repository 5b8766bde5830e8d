#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/ChatPacer.h"
#include "core/Interfaces.h"

namespace tobla {

// The handler of the poll timer: on every tick it asks the player whether a new
// track has started and, once it has played the chosen time, records it, builds its
// lines for the ticked chats (AOL, then AIM) and appends it to today's play log. Each
// chat gets its line at the chat's pace, in this tick (before the log line) or a later
// one.
class PollCycle {
public:
    struct Collaborators {
        PlayerFacts& player;
        ChatTarget& aol;
        ChatTarget& aim;
        SettingsReader& settings;
        PlayLog& log;
        AnnouncerControls& controls;
        Yielder& yielder;
        Clock& clock;
    };

    PollCycle(Collaborators collaborators, std::string settingsFile);

    // Start-up: the title playing now counts as already announced.
    void SetLastAnnouncedTitle(const std::string& title);
    // Exactly as the player reported it, NULs included.
    const std::string& LastAnnouncedTitle() const { return lastTitle_; }

    // One timer tick. A tick that arrives while an earlier one is inside one of
    // its yields returns at once.
    void Tick();
    // The next tick offers the ticked chats the line of the track playing again, when
    // that is the last announced one (for a user who has just joined a room); it is
    // not logged again. Left to a tick, since the menu command that asks may run
    // inside a yield of one.
    void AnnounceNow() { announceNowAsked_ = true; }

private:
    // What the change test found: a title that differs from the last announced, with
    // the seconds the player reported played.
    struct Change {
        std::string title;
        std::int32_t played;
    };
    // A new title waiting until it has played the chosen time.
    struct Candidate {
        std::string title;
        std::int64_t dueAt;
    };
    // One announcement's lines, each built once; none for a chat that is not ticked
    // or not open, or whose line could not be built.
    struct ChatLines {
        std::optional<std::string> aol, aim;
    };

    std::string ReadColorText();
    std::optional<Change> ReadChange();
    bool IsPassingState(const std::string& title);
    bool HasSettled(const Change& change);
    bool AnnounceNewTrack(const std::string& colorText);
    bool AnnounceAgain(const std::string& colorText);
    ChatLines BuildLines(const std::string& colorText);
    void Offer(ChatLines lines);

    Collaborators c_;
    std::string settingsFile_;
    std::string lastTitle_;
    std::optional<Candidate> candidate_;
    ChatPacer aolPacer_, aimPacer_;
    bool ticking_ = false;
    bool announceNowAsked_ = false;
};

}  // namespace tobla
