#include "player/Winamp.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "core/Template.h"
#include "core/Text.h"
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
// What a scrolling caption puts between two turns of the still caption.
constexpr const char* kScrollSeparator = " *** ";
constexpr const char* kScrollMark = "*** ";
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

std::string Reversed(std::string text) {
    std::reverse(text.begin(), text.end());
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

// True when the caption is a piece of the endless text "S *** S *** ...", the still
// caption S beginning at `start` (counted round the caption's end).
bool IsPieceOfScroll(const std::string& caption, const std::string& still, std::size_t start) {
    const std::string period = still + kScrollSeparator;
    const std::size_t offset = period.size() - start % period.size();
    for (std::size_t i = 0; i < caption.size(); ++i)
        if (caption[i] != period[(i + offset) % period.size()]) return false;
    return true;
}

// The still caption that begins at `start` of the caption read twice over, if the
// caption is a piece of its scroll: it ends with the player's name, or with the
// player's state in brackets after the name (" - Winamp [Paused]"), and holds no "***".
std::string StillFrom(const std::string& caption, const std::string& twice, std::size_t start) {
    const std::size_t name = twice.find(kPlayerName, start);
    if (name == std::string::npos) return {};
    const std::size_t afterName = name + std::strlen(kPlayerName);
    std::vector<std::size_t> ends;
    if (twice.compare(afterName, 2, " [") == 0)
        if (const std::size_t state = twice.find(']', afterName); state != std::string::npos)
            ends.push_back(state + 1);
    ends.push_back(afterName);
    for (const std::size_t end : ends) {
        const std::string still = twice.substr(start, end - start);
        if (still.size() < caption.size() && still.find("***") == std::string::npos &&
            IsPieceOfScroll(caption, still, start % caption.size()))
            return still;
    }
    return {};
}

// The still caption S that a scrolling caption shows a piece of: with the taskbar
// scrolling on, the player turns "S *** " round a character at a time (2.x) or shows
// a shrinking tail of S, " *** " and S whole (5): either way S is shorter than what
// is shown. Still captions with stars of their own stay as they are, and so does
// any caption that is not a piece of a scroll.
std::string StillCaption(const std::string& read) {
    // A caption that moved on between the reading of its length and of its text is
    // read short, the rest of the buffer left NUL: only the part filled is shown.
    const std::string caption = read.substr(0, read.find_last_not_of('\0') + 1);
    if (caption.find('*') == std::string::npos) return read;  // the title is read every tick
    const std::string twice = caption + caption;
    const std::size_t mark = twice.find(kScrollMark);
    if (mark == std::string::npos) return read;
    const std::size_t after = mark + std::strlen(kScrollMark);
    // What follows the mark is S, or at the caption's end a tail of the next separator
    // (" *** S *** ", "** S *** "): longer tails are tried first, then S itself, which
    // may begin with a star.
    const std::string separator = kScrollSeparator;
    for (std::size_t tail = separator.size() + 1; tail-- > 0;) {
        if (twice.compare(after, tail, separator, separator.size() - tail) != 0) continue;
        if (std::string still = StillFrom(caption, twice, after + tail); !still.empty())
            return still;
    }
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

std::string Winamp3SongLength(const std::string& caption) {
    const std::string reversed = Reversed(RemoveEvery(caption, kPlayingMark));
    const std::size_t p = Position(reversed, "(");
    if (p < 2) throw OperationFailed("no parenthesised length in the caption");
    return Reversed(Mid(reversed, 2, p - 2));
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

std::string TitleFromWinamp3Caption(const std::string& caption) {
    const std::string shown = RemoveEvery(caption, kPlayingMark);
    const std::string afterNumber = Mid(shown, Position(shown, ". ") + 2);
    const std::string reversed = Reversed(afterNumber);
    return Reversed(Mid(reversed, Position(reversed, "( ") + 2));
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
