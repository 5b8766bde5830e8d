#include "player/Winamp.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

#include "core/Template.h"
#include "core/Text.h"
#include "core/Utf.h"
#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/WindowText.h"

namespace tobla::winampApi {
namespace {

constexpr const char* kWinamp2Class = "Winamp v1.x";
constexpr const char* kWinamp3Class = "Studio";
constexpr const char* kPlaylistClass = "BaseWindow_RootWnd";
constexpr const char* kPlaylistMark = "Playlist";
constexpr const char* kPlayerName = " - Winamp";
constexpr const char* kPlayingMark = " (playing)";
constexpr const char* kPlayingAfterLength = ") (playing)";
constexpr const char* kNotAvailable = "n/a";
// Winamp 3 gives no time played; a playing track counts as well past the first second.
constexpr std::int32_t kWinamp3PlayingSeconds = 10;
constexpr std::int64_t kMillisecondsPerSecond = 1000;
// The list window is the fourth result of the sibling walk under the playlist frame.
constexpr int kListWindowSearches = 4;

// 1-based position of the first occurrence, 0 when absent.
std::size_t Position(const std::string& text, const std::string& piece) {
    const std::size_t at = text.find(piece);
    return at == std::string::npos ? 0 : at + 1;
}

bool Contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

// Up to `count` characters from 1-based `start`; empty when start lies past the end.
std::string Mid(const std::string& text, std::size_t start, std::size_t count = std::string::npos) {
    if (start < 1 || start > text.size()) return {};
    return text.substr(start - 1, count);
}

// Removes every occurrence in one left-to-right pass.
std::string RemoveEvery(const std::string& text, const std::string& piece) {
    return text::ReplaceEvery(text, piece, "");
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

void DropLastIfEndsWith(std::string& title, const std::string& ending) {
    if (text::EndsWith(title, ending)) title.pop_back();
}

// Where the title begins: after a leading playlist number and its ". ", or at the
// first character when the caption has none (players that answer as Winamp often
// show none, and long playlists have numbers of any length).
std::size_t AfterPlaylistNumber(const std::string& caption) {
    const std::size_t digits = caption.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || caption.compare(digits, 2, ". ") != 0)
        return 0;
    return digits + 2;
}

// The scroll rule works in UTF-16 units: the player turns its caption by them, so a
// step may begin or end with half of a character of two units.
using Units = std::u16string;

constexpr char16_t kScrollSeparator[] = u" *** ";
constexpr std::size_t kSeparatorLength = 5;
constexpr char16_t kStillEnd[] = u" - Winamp";
constexpr std::size_t kStillEndLength = 9;
// The player scrolls its caption in a buffer of this many units: a longer caption is
// not one of its steps.
constexpr std::size_t kLongestScroll = 4096;

// A still caption ends with the player's name, or with the player's state in
// brackets after it (" - Winamp [Paused]").
bool EndsAsStill(const Units& still) {
    const std::size_t name = still.rfind(kStillEnd);
    if (name == Units::npos) return false;
    const Units state = still.substr(name + kStillEndLength);
    return state.empty() || (state.size() >= 3 && state.compare(0, 2, u" [") == 0 &&
                             state.find(u']') == state.size() - 1);
}

// The still caption S whose endless scroll "S *** S *** ..." repeats every `period`
// units, taking the caption as one stretch of it: S follows a separator of the
// period and ends as a still caption does. With `whole`, S must also stand whole in
// the caption. None when no separator gives one.
std::optional<Units> StillOfPeriod(const Units& caption, std::size_t period, bool whole) {
    const auto at = [&](std::size_t i) { return caption[i % period]; };
    for (std::size_t separator = 0; separator < period; ++separator) {
        std::size_t i = 0;
        while (i < kSeparatorLength && at(separator + i) == kScrollSeparator[i]) ++i;
        if (i < kSeparatorLength) continue;
        Units still;
        for (std::size_t k = kSeparatorLength; k < period; ++k) still += at(separator + k);
        if (EndsAsStill(still) && (!whole || caption.find(still) != Units::npos)) return still;
    }
    return std::nullopt;
}

// The periods of the caption, shortest first: every p for which each unit equals the
// one p further on. They are the caption's length less each of its borders (a border
// being both a prefix and a suffix), which the prefix function gives in linear time.
std::vector<std::size_t> PeriodsOf(const Units& caption) {
    const std::size_t n = caption.size();
    std::vector<std::size_t> border(n, 0);
    for (std::size_t i = 1; i < n; ++i) {
        std::size_t b = border[i - 1];
        while (b > 0 && caption[i] != caption[b]) b = border[b - 1];
        border[i] = caption[i] == caption[b] ? b + 1 : 0;
    }
    std::vector<std::size_t> periods;
    for (std::size_t b = n > 0 ? border[n - 1] : 0; b > 0; b = border[b - 1])
        periods.push_back(n - b);
    periods.push_back(n);
    return periods;
}

// The still caption S that a scrolling caption shows a stretch of. With taskbar
// scrolling on, the player shows a shrinking tail of S, " *** " and S whole (5), or
// turns "S *** " round (2.x); a read that the player outran between the length and
// the text is a stretch too ("12. A - Winamp *** 12." as the scroll starts over).
// S may hold stars of its own, so every separator of every period is tried. Where S
// stands whole in the caption, the shortest such S is taken: the outrun read above
// is a stretch of the scroll of "12.12. A - Winamp" too, which it does not show
// whole. Otherwise the caption is one turn of "S *** ", its whole length the period:
// a shorter period there comes only from letters that repeat where the turn cuts S
// ("e Lo Green - ... *** 9. Ce"). A caption that is no such stretch stays as it is.
std::string StillCaption(const std::string& read) {
    // A caption that moved on between the reading of its length and of its text is
    // read short, the rest of the buffer left NUL: only the part filled is shown.
    const std::string caption = read.substr(0, read.find_last_not_of('\0') + 1);
    if (caption.find('*') == std::string::npos) return read;  // the title is read every tick
    const Units units = text::Utf16FromUtf8(caption);
    // Only text as a window gives it: bytes that are no UTF-8 are not a scroll.
    if (units.size() > kLongestScroll || text::Utf8FromUtf16(units) != caption) return read;
    const Units twice = units + units;
    if (twice.find(u"*** ") == Units::npos || twice.find(kStillEnd) == Units::npos) return read;
    for (const std::size_t period : PeriodsOf(units)) {
        if (period < kSeparatorLength + kStillEndLength) continue;
        if (const auto still = StillOfPeriod(units, period, /*whole=*/true))
            return text::Utf8FromUtf16(*still);
    }
    if (const auto turned = StillOfPeriod(units, units.size(), /*whole=*/false))
        return text::Utf8FromUtf16(*turned);
    return read;
}

// A decimal integer with optional blanks around it and an optional sign; anything
// else, or a value outside 32 bits, fails.
std::int32_t ParseDecimal(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    if (first == std::string::npos) throw OperationFailed("no number");
    const std::string digits = text.substr(first, last - first + 1);
    const std::size_t signs = (digits[0] == '-' || digits[0] == '+') ? 1 : 0;
    if (digits.size() == signs ||
        digits.find_first_not_of("0123456789", signs) != std::string::npos)
        throw OperationFailed("not a number");
    errno = 0;
    const long long value = std::strtoll(digits.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw OperationFailed("number out of 32-bit range");
    return static_cast<std::int32_t>(value);
}

// At least two digits, a "-" in front of a negative value's digits.
std::string TwoDigits(std::int64_t value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < 2) digits.insert(0, 1, '0');
    return value < 0 ? "-" + digits : digits;
}

// Which rules a playback fact follows, decided afresh on every call: the player's
// window first, then the class test.
struct FactSource {
    enum Kind { kNone, kWinamp2, kWinamp3 } kind = kNone;
    WindowHandle window = 0;  // 2.x: where the requests go; 3: the "Studio" window
};

FactSource LocateFacts(ForeignWindows& windows) {
    const WindowHandle player = GetWinampWindow(windows);
    if (player == 0) return {};
    if (windows.FindTopLevel(kWinamp2Class) != 0) return {FactSource::kWinamp2, player};
    if (const WindowHandle studio = windows.FindTopLevel(kWinamp3Class))
        return {FactSource::kWinamp3, studio};
    return {};
}

std::int32_t Request(ForeignWindows& windows, WindowHandle player, std::uint32_t selector,
                     std::int32_t request) {
    return windows.Send(player, msg::kUser, selector, request);
}

// The caption of the list window that the playlist frame holds, empty when there is none.
std::string ListWindowCaption(ForeignWindows& windows) {
    const WindowHandle frame = windows.FindTopLevel(kPlaylistClass);
    if (!Contains(GetWindowCaption(windows, frame), kPlaylistMark)) return {};
    WindowHandle list = 0;
    for (int search = 0; search < kListWindowSearches; ++search)
        list = windows.FindChild(frame, list, kPlaylistClass);
    return GetWindowCaption(windows, list);
}

// The text between the caption's last "(" and its last character.
std::string Winamp3SongLength(const std::string& caption) {
    const std::string shown = RemoveEvery(caption, kPlayingMark);
    const std::size_t open = shown.rfind('(');
    if (open == std::string::npos || open + 1 == shown.size())
        throw OperationFailed("no parenthesised length in the caption");
    return DropLastCharacter(shown.substr(open + 1));
}

std::int32_t Winamp3ListPosition(const std::string& caption) {
    const std::size_t p = Position(caption, ". ");
    if (p == 0) throw OperationFailed("no playlist number in the caption");
    return ParseDecimal(caption.substr(0, p - 1));
}

std::string Winamp3ListCount(ForeignWindows& windows) {
    const std::string caption = ListWindowCaption(windows);
    if (caption.empty()) return kNotAvailable;
    const std::string count = Mid(caption, Position(caption, ": ") + 2);
    return RemoveEvery(RemoveEvery(count, "items"), " ");
}

}  // namespace

WindowHandle GetWinampWindow(ForeignWindows& windows) {
    if (const WindowHandle winamp2 = windows.FindTopLevel(kWinamp2Class)) return winamp2;
    return windows.FindTopLevel(kWinamp3Class);
}

std::string GetSongTitle(ForeignWindows& windows) {
    if (const WindowHandle winamp2 = windows.FindTopLevel(kWinamp2Class))
        return TitleFromWinamp2Caption(GetWindowCaption(windows, winamp2));
    if (const WindowHandle studio = windows.FindTopLevel(kWinamp3Class))
        return TitleFromWinamp3Caption(GetWindowCaption(windows, studio));
    return {};
}

std::string TitleFromWinamp2Caption(const std::string& caption) {
    const std::string still = StillCaption(caption);
    const std::size_t end = still.find(kPlayerName);
    std::string title = still;
    if (end != std::string::npos) {
        const std::size_t start = AfterPlaylistNumber(still);
        title = start < end ? still.substr(start, end - start) : std::string();
    }
    DropLastIfEndsWith(title, " ");
    DropLastIfEndsWith(title, " -");
    DropLastIfEndsWith(title, " ");
    return title;
}

// After the playlist number and its ". " (without one, after the first character),
// up to the last " (" (without one, up to the last character).
std::string TitleFromWinamp3Caption(const std::string& caption) {
    const std::string shown = RemoveEvery(caption, kPlayingMark);
    const std::size_t number = shown.find(". ");
    const std::string title =
        number == std::string::npos ? DropFirstCharacter(shown) : shown.substr(number + 2);
    const std::size_t bracket = title.rfind(" (");
    return bracket == std::string::npos ? DropLastCharacter(title) : title.substr(0, bracket);
}

std::int32_t GetPlayedSeconds(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2: {
            const std::int32_t ms =
                Request(windows, source.window, 0, msg::kRequestPlayPosition);
            return static_cast<std::int32_t>(DivideHalfEven(ms, kMillisecondsPerSecond));
        }
        case FactSource::kWinamp3:
            return Contains(GetText(windows, source.window), kPlayingAfterLength)
                       ? kWinamp3PlayingSeconds
                       : 0;
        case FactSource::kNone: break;
    }
    return 0;
}

std::int32_t GetSongSeconds(ForeignWindows& windows) {
    const WindowHandle player = GetWinampWindow(windows);
    if (player == 0) return 0;
    return Request(windows, player, 1, msg::kRequestPlayPosition);
}

bool PlaysStream(ForeignWindows& windows) {
    return LocateFacts(windows).kind == FactSource::kWinamp2 && GetSongSeconds(windows) < 0;
}

std::string GetSongLength(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2: return FormatSongLength(GetSongSeconds(windows));
        case FactSource::kWinamp3: return Winamp3SongLength(GetText(windows, source.window));
        case FactSource::kNone: break;
    }
    return {};
}

std::string GetBitrate(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2:
            return std::to_string(Request(windows, source.window, 1, msg::kRequestBitrate));
        case FactSource::kWinamp3: return kNotAvailable;
        case FactSource::kNone: break;
    }
    return {};
}

std::int32_t GetListPosition(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2: {
            const std::int64_t index =
                Request(windows, source.window, 0, msg::kRequestListPosition);
            if (index == std::numeric_limits<std::int32_t>::max())
                throw OperationFailed("playlist position out of 32-bit range");
            return static_cast<std::int32_t>(index + 1);
        }
        case FactSource::kWinamp3: return Winamp3ListPosition(GetText(windows, source.window));
        case FactSource::kNone: break;
    }
    return 0;
}

std::string GetListCount(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2:
            return std::to_string(Request(windows, source.window, 0, msg::kRequestListCount));
        case FactSource::kWinamp3: return Winamp3ListCount(windows);
        case FactSource::kNone: break;
    }
    return {};
}

std::string FormatSongLength(std::int32_t seconds) {
    if (seconds < 0) return kNotAvailable;  // a stream: the player knows no length
    const std::int64_t s = seconds;
    const std::int64_t h = s / 3600, r = s - 3600 * h;
    const std::int64_t m = r / 60, x = r - 60 * m;
    std::string text = h != 0 ? TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(x)
                              : TwoDigits(m) + ":" + TwoDigits(x);
    if (text[0] == '0') text.erase(0, 1);
    return text;
}

}  // namespace tobla::winampApi
