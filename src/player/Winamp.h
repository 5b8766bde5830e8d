#pragma once
#include <cstdint>
#include <string>

#include "core/Interfaces.h"

// Finding the Winamp player (2.x: class "Winamp v1.x", 3: class "Studio") and
// reading the title and the playback facts of the current track from its windows.
// Every call decides the generation afresh and asks the player anew. Operations
// that cannot produce their result throw OperationFailed.
namespace tobla::winampApi {

WindowHandle GetWinampWindow(ForeignWindows& windows);
std::string GetSongTitle(ForeignWindows& windows);
std::int32_t GetPlayedSeconds(ForeignWindows& windows);
std::int32_t GetSongSeconds(ForeignWindows& windows);
// True while Winamp 2.x plays a stream: its length request answers -1. Winamp 3 is
// sent no requests and reports false.
bool PlaysStream(ForeignWindows& windows);
std::string GetSongLength(ForeignWindows& windows);
std::string GetBitrate(ForeignWindows& windows);
std::int32_t GetListPosition(ForeignWindows& windows);
std::string GetListCount(ForeignWindows& windows);

// "M:SS", or "H:MM:SS" from an hour on; "n/a" for a stream's length of -1.
std::string FormatSongLength(std::int32_t seconds);

}  // namespace tobla::winampApi

namespace tobla {

// The running player as the poll cycle's source of facts.
class WinampPlayer : public PlayerFacts {
public:
    explicit WinampPlayer(ForeignWindows& windows) : windows_(windows) {}
    std::string SongTitle() override { return winampApi::GetSongTitle(windows_); }
    std::int32_t PlayedSeconds() override { return winampApi::GetPlayedSeconds(windows_); }
    std::string SongLength() override { return winampApi::GetSongLength(windows_); }
    std::string Bitrate() override { return winampApi::GetBitrate(windows_); }
    std::int32_t ListPosition() override { return winampApi::GetListPosition(windows_); }
    std::string ListCount() override { return winampApi::GetListCount(windows_); }
    bool PlaysStream() override { return winampApi::PlaysStream(windows_); }

private:
    ForeignWindows& windows_;
};

}  // namespace tobla
