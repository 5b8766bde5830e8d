#include "core/PollCycle.h"

#include "core/Settings.h"
#include "core/Template.h"
#include "core/OperationFailed.h"

namespace tobla {

namespace {
constexpr const char* kBufferingMark = "[Buffer:";

// A chat gets a line when its box is ticked (a box that cannot be read counts as
// ticked) and it is open.
template <class Ticked>
bool WantsLine(ChatTarget& chat, Ticked ticked) {
    bool wanted = true;
    Guarded([&] { wanted = ticked(); });
    bool open = false;
    if (wanted) Guarded([&] { open = chat.IsOpen(); });
    return open;
}
}  // namespace

PollCycle::PollCycle(Collaborators collaborators, std::string settingsFile)
    : c_(collaborators), settingsFile_(std::move(settingsFile)) {}

void PollCycle::SetLastAnnouncedTitle(const std::string& title) {
    lastTitle_ = title;
    Guarded([&] { c_.controls.ShowLastTitle(title); });
}

void PollCycle::Tick() {
    if (ticking_) return;
    ticking_ = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{ticking_};

    std::string colorText;
    Guarded([&] { colorText = ReadColorText(); });
    if (!TrackChanged()) return;
    Announce(colorText);
}

std::string PollCycle::ReadColorText() {
    if (c_.settings.GetFromIni(kSettingsSection, "color", settingsFile_).empty()) return {};
    return ColorTextFromSetting(c_.settings.GetFromIni(kSettingsSection, "color", settingsFile_));
}

// All three readings are made on every tick, in this order; a reading that fails
// means no change, so a title that could not be read is never announced or logged.
bool PollCycle::TrackChanged() {
    bool titleDiffers = false, playing = false, notBuffering = false;
    const bool titleRead = Guarded([&] { titleDiffers = c_.player.SongTitle() != lastTitle_; });
    const bool playedRead = Guarded([&] { playing = c_.player.PlayedSeconds() >= 1; });
    const bool bufferingRead = Guarded([&] {
        notBuffering = c_.player.SongTitle().find(kBufferingMark) == std::string::npos;
    });
    return titleRead && playedRead && bufferingRead && titleDiffers && playing && notBuffering;
}

void PollCycle::Announce(const std::string& colorText) {
    // Recorded before anything below can yield, so a tick or click that runs
    // inside a later yield sees no change. A title that cannot be read for the record
    // is not announced either; nor one that is the last announced title again: the
    // readings of this tick disagreed (a caption read as it moved on), and the next
    // tick reads afresh.
    std::string title;
    if (!Guarded([&] { title = c_.player.SongTitle(); }) || title == lastTitle_) return;
    SetLastAnnouncedTitle(title);

    Guarded([&] {
        const auto yield = [this] { c_.yielder.YieldEvents(); };
        if (toolkit::StripSpaces(c_.controls.TemplateText(), yield).empty())
            c_.controls.SetTemplateText(DefaultTemplate);
    });

    SendToAol(colorText);
    SendToAim();

    // Logged as Label4 shows it: a title read with NULs in it ends at the first one.
    Guarded([&] { c_.log.AppendPlayLog(lastTitle_.substr(0, lastTitle_.find('\0'))); });
}

// The AOL room reads its line as mark-up: the facts in it cannot open a tag.
void PollCycle::SendToAol(const std::string& colorText) {
    if (!WantsLine(c_.aol, [&] { return c_.controls.AolTicked(); })) return;
    std::string line;
    if (!Guarded([&] {
            line = ExpandTemplate(c_.controls.TemplateText(), c_.player, FactText::InertInMarkup);
        }))
        return;
    Guarded([&] { c_.aol.Send(WrapInFontTag(c_.controls.FontFace(), colorText, line)); });
}

void PollCycle::SendToAim() {
    if (!WantsLine(c_.aim, [&] { return c_.controls.AimTicked(); })) return;
    std::string line;
    if (Guarded([&] { line = ExpandTemplate(c_.controls.TemplateText(), c_.player); }))
        Guarded([&] { c_.aim.Send(line); });
}

}  // namespace tobla
