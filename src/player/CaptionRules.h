#pragma once
#include <string>
#include <string_view>

// What the player's captions say, as pure text rules: caption in, title or length
// out. A rule that cannot tell throws OperationFailed.
namespace tobla::winampApi {

// What follows the title in a Winamp 2.x caption.
inline constexpr std::string_view kPlayerName = " - Winamp";

// The title in a Winamp 2.x caption ("12. Artist - Song - Winamp"): after the
// playlist number, up to the player's name. A caption that is a step of the player's
// taskbar scroll gives the title of the still caption it is a step of; when it is a
// step of two still captions whose titles differ, the reading fails (the next step
// tells them apart). A caption that is no step is read as it stands.
std::string TitleFromWinamp2Caption(const std::string& caption);

// The title in a Winamp 3 caption ("12. Artist - Song (3:45) (playing)").
std::string TitleFromWinamp3Caption(const std::string& caption);

// The length in a Winamp 3 caption: between its last "(" and its last character.
std::string SongLengthFromWinamp3Caption(const std::string& caption);

// The title less the start of the player's name, " - W", that an older reading left on
// a title when the playlist number had five digits; any other title as it is.
std::string WithoutPlayerInitial(const std::string& title);

// Whether the caption shows the player filling its buffer for a stream ("[Buffer:
// 52%] ..."): what it plays has not started.
bool ShowsBuffering(const std::string& caption);

// Whether the title begins with a state in brackets, as the player shows a stream's
// passing states ("[Connecting] ...", "[Stream temporarily interrupted] ...").
bool BeginsWithState(const std::string& title);

}  // namespace tobla::winampApi
