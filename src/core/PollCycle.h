#pragma once
#include <string>

#include "core/Interfaces.h"

namespace tobla {

// The handler of the poll timer: on every tick it asks the player whether a new
// track has started and, when one has, records it, announces it to the ticked
// targets (AOL, then AIM) and appends it to today's play log.
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
    };

    PollCycle(Collaborators collaborators, std::string settingsFile);

    // Start-up: the title playing now counts as already announced.
    void SetLastAnnouncedTitle(const std::string& title);
    // Exactly as the player reported it, NULs included.
    const std::string& LastAnnouncedTitle() const { return lastTitle_; }

    // One timer tick. A tick that arrives while an earlier one is inside one of
    // its yields returns at once.
    void Tick();

private:
    std::string ReadColorText();
    bool TrackChanged();
    void Announce(const std::string& colorText);
    void SendToAol(const std::string& colorText);
    void SendToAim();

    Collaborators c_;
    std::string settingsFile_;
    std::string lastTitle_;
    bool ticking_ = false;
};

}  // namespace tobla
