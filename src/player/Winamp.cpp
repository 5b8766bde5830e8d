#include "player/Winamp.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "core/Numbers.h"
#include "core/Text.h"
#include "core/MessageNumbers.h"
#include "core/OperationFailed.h"
#include "core/WindowText.h"
#include "player/CaptionRules.h"

namespace tobla::winampApi {
namespace {

constexpr const char* kWinamp2Class = "Winamp v1.x";
constexpr const char* kWinamp3Class = "Studio";
constexpr const char* kPlaylistClass = "BaseWindow_RootWnd";
constexpr const char* kPlaylistMark = "Playlist";
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

std::int32_t GetPlayedSeconds(ForeignWindows& windows) {
    const FactSource source = LocateFacts(windows);
    switch (source.kind) {
        case FactSource::kWinamp2: {
            const std::int32_t ms = Request(windows, source.window, 0, msg::kRequestPlayPosition);
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
        case FactSource::kWinamp3:
            return SongLengthFromWinamp3Caption(GetText(windows, source.window));
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
