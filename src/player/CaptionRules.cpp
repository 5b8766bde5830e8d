#include "player/CaptionRules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/OperationFailed.h"
#include "core/Text.h"
#include "core/Utf.h"

namespace tobla::winampApi {
namespace {

constexpr std::string_view kPlayingMark = " (playing)";
// What the player's taskbar scroll puts between two turns of its still caption.
constexpr std::string_view kSeparator = " *** ";
// The player scrolls its caption in a buffer of this many UTF-16 units: a longer
// caption is none of its steps.
constexpr std::size_t kLongestScroll = 4096;

// Whether the text holds the ASCII piece at `at`; for UTF-8 and UTF-16 text alike.
template <class Char>
bool HoldsAt(std::basic_string_view<Char> text, std::size_t at, std::string_view piece) {
    if (at > text.size() || text.size() - at < piece.size()) return false;
    for (std::size_t i = 0; i < piece.size(); ++i)
        if (text[at + i] != static_cast<Char>(piece[i])) return false;
    return true;
}

// Where the title begins: after a leading playlist number and its ". ", or at the
// first character when the caption has none (players that answer as Winamp often
// show none, and long playlists have numbers of any length).
template <class Char>
std::size_t AfterPlaylistNumber(std::basic_string_view<Char> still) {
    std::size_t digits = 0;
    while (digits < still.size() && still[digits] >= '0' && still[digits] <= '9') ++digits;
    return digits > 0 && HoldsAt(still, digits, ". ") ? digits + 2 : 0;
}

// A title ending in a blank, in " -" or in " - " loses it, as titles always have.
template <class Char>
std::basic_string_view<Char> TrimEnd(std::basic_string_view<Char> title) {
    const auto endsWith = [&title](char unit) {
        return !title.empty() && title.back() == Char(unit);
    };
    if (endsWith(' ')) title.remove_suffix(1);
    if (endsWith('-') && title.size() >= 2 && title[title.size() - 2] == Char(' '))
        title.remove_suffix(1);
    if (endsWith(' ')) title.remove_suffix(1);
    return title;
}

// The title of a still caption whose first player's name begins at `name`.
template <class Char>
std::basic_string_view<Char> StillTitle(std::basic_string_view<Char> still, std::size_t name) {
    const std::size_t start = AfterPlaylistNumber(still);
    return TrimEnd(start < name ? still.substr(start, name - start)
                                : std::basic_string_view<Char>{});
}

// For each ASCII unit, how far the name's last unit lies after the unit's last place
// among the others; the whole name's length for any other unit.
constexpr std::array<std::uint8_t, 128> kNameSkips = [] {
    std::array<std::uint8_t, 128> skips{};
    skips.fill(kPlayerName.size());
    for (std::size_t i = 0; i + 1 < kPlayerName.size(); ++i)
        skips[static_cast<unsigned char>(kPlayerName[i])] =
            static_cast<std::uint8_t>(kPlayerName.size() - 1 - i);
    return skips;
}();

// Where the player's name first stands in the text from `from` on; npos when nowhere.
// The search looks at the unit where a name would end and skips ahead by what that
// unit allows (Horspool's), so a long caption costs a fraction of a look per unit.
template <class Char>
std::size_t FindName(std::basic_string_view<Char> text, std::size_t from) {
    const std::size_t length = kPlayerName.size();
    for (std::size_t at = from; at + length <= text.size();) {
        if (HoldsAt(text, at, kPlayerName)) return at;
        const auto last = static_cast<std::make_unsigned_t<Char>>(text[at + length - 1]);
        at += last < kNameSkips.size() ? kNameSkips[last] : length;
    }
    return std::basic_string_view<Char>::npos;
}

std::string TitleAsItStands(std::string_view caption) {
    const std::size_t name = FindName(caption, 0);
    return std::string(name == std::string_view::npos ? TrimEnd(caption)
                                                      : StillTitle(caption, name));
}

// A caption read as a step of the player's taskbar scroll, in UTF-16 units, which the
// player turns its caption by. With X a still caption ("12. Artist - Song - Winamp",
// or with the player's state after it, " [Paused]"), Winamp 5 shows X[k:] + " *** "
// + X for k = 0 ... |X| - 1, then " *** X *** ", "*** X *** " and "** X *** ", and
// round again; Winamp 2 shows every turn of "X *** ". A read that takes its length
// from one step and its text from the next gives a shorter step whole (once the NULs
// after it go) and a longer one cut at the earlier length; the longer steps follow
// " *** X " (the cut read " *** X ") and "** X *** " ("X *** " + X[:3]).
//
// Every X that the caption is one of these steps of is a candidate. Candidates often
// differ and still agree on the title (a step X[k:] *** X is also a turn of X + X[k:]),
// so what counts is whether their titles agree. Every candidate's X ends as a still
// caption does, so the search starts from the player's names in the caption turned
// round twice over, and each shape is then a test at a known place: the time stays
// linear in the caption's length (times a logarithm), whatever the caption holds.
// Units are bytes for a caption in ASCII, UTF-16 units for any other.
template <class Char>
class ScrollSteps {
    using View = std::basic_string_view<Char>;

public:
    explicit ScrollSteps(View caption) : size_(caption.size()) {
        twice_.reserve(2 * size_);
        twice_.append(caption).append(caption);
        FindNames();
        for (std::size_t i = 0; i < names_.size(); ++i) {
            const std::size_t afterName = names_[i] + kPlayerName.size();
            if (afterName + kSeparator.size() + 3 < size_ && !HoldsAt(text(), afterName, " ["))
                continue;  // no shape has an X ending this early
            TryStill(names_[i], afterName);
            TryStill(names_[i],
                     StateEnd(afterName, i + 1 < names_.size() ? names_[i + 1] : text().size()));
        }
    }

    bool Found() const { return title_.has_value(); }
    bool Agree() const { return agree_; }
    View Title() const { return *title_; }

private:
    View text() const { return twice_; }

    // The player's names in the caption turned round twice: those in the caption,
    // those across its end, and the caption's own again in the second turn.
    void FindNames() {
        const std::size_t n = size_;
        names_.reserve(2 * n / kPlayerName.size() + 2);
        const View caption = text().substr(0, n);
        for (std::size_t at = FindName(caption, 0); at != View::npos;
             at = FindName(caption, at + kPlayerName.size()))
            names_.push_back(at);
        const std::size_t inCaption = names_.size();
        const std::size_t across = n >= kPlayerName.size() ? n + 1 - kPlayerName.size() : 0;
        for (std::size_t at = across; at < n; ++at)
            if (HoldsAt(text(), at, kPlayerName)) names_.push_back(at);
        for (std::size_t i = 0; i < inCaption; ++i) names_.push_back(names_[i] + n);
    }

    // The end of a state in brackets right after a player's name (" [Paused]"): its
    // first "]". A state holds no player's name (that one would be the last), so the
    // search stops at the next. 0 when there is none.
    std::size_t StateEnd(std::size_t afterName, std::size_t nextName) const {
        if (!HoldsAt(text(), afterName, " [")) return 0;
        const std::size_t close = text().substr(0, nextName).find(Char(']'), afterName + 2);
        return close == View::npos ? 0 : close + 1;
    }

    // Every shape whose X ends at `end`, its last player's name at `name`.
    void TryStill(std::size_t name, std::size_t end) {
        const std::size_t n = size_;
        const std::size_t separator = kSeparator.size();
        if (end == 0 || end + separator + 3 < n) return;  // no shape has an X ending earlier
        // Winamp 2: a turn of "X *** ", which begins where X begins.
        if (end + separator >= n && end + separator < 2 * n && HoldsAt(text(), end, kSeparator))
            Candidate(end + separator - n, name, end);
        if (end == n) ShortTails(name);
        // " *** X *** ", "*** X *** ", "** X *** ".
        if (end + separator == n && HoldsAt(text(), end, kSeparator))
            for (const std::string_view lead : {" *** ", "*** ", "** "})
                if (HoldsAt(text(), 0, lead)) Candidate(lead.size(), name, end);
        // " *** X " cut from " *** X *** ".
        if (end + 1 == n && text()[end] == Char(' ') && HoldsAt(text(), 0, kSeparator))
            Candidate(separator, name, end);
        // "X *** " + X[:3] cut from "X *** X".
        if (end + separator + 3 == n && HoldsAt(text(), end, kSeparator) &&
            text().compare(end + separator, 3, text().substr(0, 3)) == 0)
            Candidate(0, name, end);
    }

    // Winamp 5's X[k:] *** X, X ending the caption: its first n - k units are also its
    // last, and the separator follows them. Where X[k:] holds X's whole still end,
    // the caption is also a turn of X + X[k:], whose title is X's, so only the tails
    // shorter than the still end are sought: one that ends inside the state ends at
    // the caption's first "]" (a state holds one), and one that begins inside the
    // player's name is one of eight.
    void ShortTails(std::size_t name) {
        const std::size_t n = size_;
        const std::size_t stillEnd = n - name;
        std::vector<std::size_t> tails;
        if (text()[n - 1] == Char(']')) tails.push_back(text().find(Char(']')) + 1);
        for (std::size_t t = 1; t < kPlayerName.size() && t < stillEnd; ++t)
            tails.push_back(stillEnd - t);
        for (const std::size_t tail : tails)
            if (tail < stillEnd && 2 * tail + kSeparator.size() <= n &&
                HoldsAt(text(), tail, kSeparator) &&
                text().compare(0, tail, text().substr(n - tail, tail)) == 0)
                Candidate(tail + kSeparator.size(), name, n);
    }

    // The first player's name from `start` on. The turns are tried in the order of
    // their starts, so a cursor finds it; the other shapes begin near the caption's
    // start, and are looked up.
    std::size_t FirstNameFrom(std::size_t start) {
        if (cursor_ > 0 && names_[cursor_ - 1] >= start)
            return *std::lower_bound(names_.begin(), names_.end(), start);
        while (names_[cursor_] < start) ++cursor_;
        return names_[cursor_];
    }

    // X = the text from `start` to `end`; its last player's name is at `name`.
    void Candidate(std::size_t start, std::size_t name, std::size_t end) {
        if (!agree_ || name < start) return;
        const std::size_t first = FirstNameFrom(start);
        const View title = StillTitle(text().substr(start, end - start), first - start);
        if (!title_) {
            title_ = title;
            titleStart_ = start;
        } else if (start != titleStart_ && title != *title_) {
            agree_ = false;
        }
    }

    std::size_t size_;
    std::basic_string<Char> twice_;
    std::vector<std::size_t> names_;
    std::optional<View> title_;
    std::size_t titleStart_ = 0;
    std::size_t cursor_ = 0;
    bool agree_ = true;
};

// The title of the still caption that a scroll step shows; none when the caption is
// no step.
template <class Char>
std::optional<std::basic_string<Char>> TitleOfSteps(std::basic_string_view<Char> caption) {
    const ScrollSteps<Char> steps(caption);
    if (!steps.Found()) return std::nullopt;
    if (!steps.Agree()) throw OperationFailed("the caption is a step of two titles' scrolls");
    return std::basic_string<Char>(steps.Title());
}

// Whether the player's name stands in the caption, or across its end: a caption
// without one is no step. The name is ASCII, so the bytes tell.
bool HoldsPlayerName(std::string_view caption) {
    if (FindName(caption, 0) != std::string_view::npos) return true;
    const std::size_t part = std::min(caption.size(), kPlayerName.size() - 1);
    const std::string across =
        std::string(caption.substr(caption.size() - part)).append(caption.substr(0, part));
    return across.find(kPlayerName) != std::string::npos;
}

std::optional<std::string> ScrollTitle(std::string_view caption) {
    // The title is read several times a tick: a caption without a star is no step.
    if (caption.find('*') == std::string_view::npos) return std::nullopt;
    // In ASCII a byte is a unit.
    if (text::IsAscii(caption))
        return caption.size() > kLongestScroll ? std::nullopt : TitleOfSteps(caption);
    // Nor is one without the player's name, which is told before any conversion.
    if (!HoldsPlayerName(caption)) return std::nullopt;
    // Only text as a window gives it: bytes that are no UTF-8 are no step.
    const std::optional<std::u16string> units = text::ExactUtf16FromUtf8(caption);
    if (!units || units->size() > kLongestScroll) return std::nullopt;
    const auto title = TitleOfSteps(std::u16string_view(*units));
    if (!title) return std::nullopt;
    return text::Utf8FromUtf16(*title);
}

// The text less its first or its last character: a character of several bytes goes
// whole, so the rest stays text.
bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

std::string DropFirstCharacter(const std::string& text) {
    std::size_t next = text.empty() ? 0 : 1;
    while (next < text.size() && !StartsCharacter(text[next])) ++next;
    return text.substr(next);
}

std::string DropLastCharacter(std::string text) {
    while (!text.empty() && !StartsCharacter(text.back())) text.pop_back();
    if (!text.empty()) text.pop_back();
    return text;
}

std::string WithoutPlayingMark(const std::string& caption) {
    return text::ReplaceEvery(caption, std::string(kPlayingMark), "");
}

}  // namespace

std::string TitleFromWinamp2Caption(const std::string& read) {
    // A caption that moved on between the reading of its length and of its text is
    // read short, the rest of the buffer left NUL: only the part filled is shown.
    const std::string_view caption =
        std::string_view(read).substr(0, read.find_last_not_of('\0') + 1);
    if (auto title = ScrollTitle(caption)) return std::move(*title);
    return TitleAsItStands(read);
}

// After the playlist number and its ". " (without one, after the first character),
// up to the last " (" (without one, up to the last character).
std::string TitleFromWinamp3Caption(const std::string& caption) {
    const std::string shown = WithoutPlayingMark(caption);
    const std::size_t number = shown.find(". ");
    const std::string title =
        number == std::string::npos ? DropFirstCharacter(shown) : shown.substr(number + 2);
    const std::size_t bracket = title.rfind(" (");
    return bracket == std::string::npos ? DropLastCharacter(title) : title.substr(0, bracket);
}

std::string WithoutPlayerInitial(const std::string& title) {
    const std::string initial(kPlayerName.substr(0, kPlayerName.find('W') + 1));
    return text::EndsWith(title, initial) ? title.substr(0, title.size() - initial.size()) : title;
}

bool ShowsBuffering(const std::string& caption) {
    return caption.find("[Buffer:") != std::string::npos;
}

bool BeginsWithState(const std::string& title) {
    return !title.empty() && title[0] == '[' && title.find("] ") != std::string::npos;
}

std::string SongLengthFromWinamp3Caption(const std::string& caption) {
    const std::string shown = WithoutPlayingMark(caption);
    const std::size_t open = shown.rfind('(');
    if (open == std::string::npos || open + 1 == shown.size())
        throw OperationFailed("no parenthesised length in the caption");
    return DropLastCharacter(shown.substr(open + 1));
}

}  // namespace tobla::winampApi
