#include "core/PollCycle.h"

#include <algorithm>
#include <utility>

#include "core/Settings.h"
#include "core/Template.h"
#include "core/OperationFailed.h"
#include "player/CaptionRules.h"

namespace tobla {

namespace {
constexpr std::int64_t kMillisecondsPerSecond = 1000;

// The track being announced: its title as recorded, its other facts asked anew. A
// title read again may be the next track's, or a step of a scrolling caption that
// cannot be told, and a line names the track it announces, as the log does.
class AnnouncedTrack : public PlayerFacts {
public:
    AnnouncedTrack(PlayerFacts& player, const std::string& title)
        : player_(player), title_(title) {}
    std::string SongTitle() override { return title_; }
    std::int32_t PlayedSeconds() override { return player_.PlayedSeconds(); }
    std::string SongLength() override { return player_.SongLength(); }
    std::string Bitrate() override { return player_.Bitrate(); }
    std::int32_t ListPosition() override { return player_.ListPosition(); }
    std::string ListCount() override { return player_.ListCount(); }
    bool PlaysStream() override { return player_.PlaysStream(); }

private:
    PlayerFacts& player_;
    const std::string& title_;
};

// A box that cannot be read counts as ticked.
template <class ReadBox>
bool BoxTicked(ReadBox readBox) {
    bool ticked = true;
    Guarded([&] { ticked = readBox(); });
    return ticked;
}

// A chat gets a line when its box is ticked and it is open.
template <class ReadBox>
bool WantsLine(ChatTarget& chat, ReadBox readBox) {
    bool open = false;
    if (BoxTicked(readBox)) Guarded([&] { open = chat.IsOpen(); });
    return open;
}
}  // namespace

PollCycle::PollCycle(Collaborators collaborators, std::string settingsFile)
    : c_(collaborators),
      settingsFile_(std::move(settingsFile)),
      aolPacer_(c_.aol, c_.clock),
      aimPacer_(c_.aim, c_.clock) {}

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
    const bool announced = AnnounceNewTrack(colorText);
    if (std::exchange(announceNowAsked_, false) && !AnnounceAgain(colorText))
        announceNowAsked_ = true;  // the player could not be read: the next tick asks again
    // A line waiting for the pace is taken back when its box is unticked meanwhile.
    aolPacer_.SendIfDue([&] { return BoxTicked([&] { return c_.controls.AolTicked(); }); });
    aimPacer_.SendIfDue([&] { return BoxTicked([&] { return c_.controls.AimTicked(); }); });
    // In the tick that announces, after the lines it sends: a line due at once is not
    // held up by the file. Logged as Label4 shows it: a title read with NULs in it
    // ends at the first one.
    if (announced)
        Guarded([&] { c_.log.AppendPlayLog(lastTitle_.substr(0, lastTitle_.find('\0'))); });
}

std::string PollCycle::ReadColorText() {
    if (c_.settings.GetFromIni(kSettingsSection, "color", settingsFile_).empty()) return {};
    return ColorTextFromSetting(c_.settings.GetFromIni(kSettingsSection, "color", settingsFile_));
}

// All three readings are made on every tick, in this order; a reading that fails
// means no change, so a title that could not be read is never announced or logged.
std::optional<PollCycle::Change> PollCycle::ReadChange() {
    std::string title, secondTitle;
    std::int32_t played = 0;
    const bool titleRead = Guarded([&] { title = c_.player.SongTitle(); });
    const bool playedRead = Guarded([&] { played = c_.player.PlayedSeconds(); });
    const bool secondRead = Guarded([&] { secondTitle = c_.player.SongTitle(); });
    if (!titleRead || !playedRead || !secondRead || title == lastTitle_ || played < 1 ||
        winampApi::ShowsBuffering(secondTitle))
        return std::nullopt;
    return Change{std::move(title), played};
}

// While a stream connects, buffers or is cut off, the player shows its state in
// brackets before the title ("[Stream temporarily interrupted] ..."): that is no new
// track, and the stream's title coming back is no new track either. A file's title
// may begin with a bracket of its own. A player that cannot say whether it plays a
// stream is asked again on the next tick.
bool PollCycle::IsPassingState(const std::string& title) {
    if (!winampApi::BeginsWithState(title)) return false;
    bool stream = true;
    Guarded([&] { stream = c_.player.PlaysStream(); });
    return stream;
}

// A new title is announced once it has played the chosen seconds: what the player
// counted when the title was first seen playing, then what the clock counts. (Winamp 3
// counts a playing track as 10 seconds played.) The setting is read once per title.
bool PollCycle::HasSettled(const Change& change) {
    const std::int64_t now = c_.clock.MonotonicMilliseconds();
    if (!candidate_ || candidate_->title != change.title) {
        std::string stored;
        Guarded(
            [&] { stored = c_.settings.GetFromIni(kSettingsSection, "settle", settingsFile_); });
        const std::int64_t seconds = SettleSecondsFromSetting(stored) - std::int64_t{change.played};
        const std::int64_t wait = std::max<std::int64_t>(seconds, 0) * kMillisecondsPerSecond;
        candidate_ = Candidate{change.title, now + wait};
    }
    return now >= candidate_->dueAt;
}

// Whether a new track was announced: recorded, and its lines offered to the chats.
bool PollCycle::AnnounceNewTrack(const std::string& colorText) {
    const std::optional<Change> change = ReadChange();
    if (!change || IsPassingState(change->title)) {
        candidate_.reset();  // a title must play without a break to settle
        return false;
    }
    if (!HasSettled(*change)) return false;
    candidate_.reset();

    // Recorded before anything below can yield, so a tick or click that runs
    // inside a later yield sees no change. A title that cannot be read for the record
    // is not announced either; nor one that is the last announced title again: the
    // readings of this tick disagreed (a caption read as it moved on), and the next
    // tick reads afresh.
    std::string title;
    if (!Guarded([&] { title = c_.player.SongTitle(); }) || title == lastTitle_) return false;
    SetLastAnnouncedTitle(title);
    Offer(BuildLines(colorText));
    return true;
}

// Only the track that was announced, and only while it plays: a track still
// settling gets its lines when it is announced. False when the player could not be
// read (a scrolling caption can be a step of two titles for a moment).
bool PollCycle::AnnounceAgain(const std::string& colorText) {
    bool playing = false;
    const bool read = Guarded(
        [&] { playing = c_.player.PlayedSeconds() >= 1 && c_.player.SongTitle() == lastTitle_; });
    if (playing) Offer(BuildLines(colorText));
    return read;
}

PollCycle::ChatLines PollCycle::BuildLines(const std::string& colorText) {
    Guarded([&] {
        const auto yield = [this] { c_.yielder.YieldEvents(); };
        if (toolkit::StripSpaces(c_.controls.TemplateText(), yield).empty())
            c_.controls.SetTemplateText(DefaultTemplate);
    });
    // Each line expands the template with its own readings of the facts but the
    // title. The AOL room reads its line as mark-up: the facts in it cannot open a tag.
    AnnouncedTrack track(c_.player, lastTitle_);
    ChatLines lines;
    if (WantsLine(c_.aol, [&] { return c_.controls.AolTicked(); }))
        Guarded([&] {
            const std::string line =
                ExpandTemplate(c_.controls.TemplateText(), track, FactText::InertInMarkup);
            lines.aol = WrapInFontTag(c_.controls.FontFace(), colorText, line);
        });
    if (WantsLine(c_.aim, [&] { return c_.controls.AimTicked(); }))
        Guarded([&] { lines.aim = ExpandTemplate(c_.controls.TemplateText(), track); });
    return lines;
}

// A chat without a line of this announcement loses the one still waiting for it:
// that track has been skipped.
void PollCycle::Offer(ChatLines lines) {
    aolPacer_.Offer(std::move(lines.aol));
    aimPacer_.Offer(std::move(lines.aim));
}

}  // namespace tobla
