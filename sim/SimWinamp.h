#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PeerThread.h"
#include "ScrollingCaption.h"

namespace tobla::sim {

// A Winamp 2.x player: a top-level "Winamp v1.x" window on its own thread that shows
// the caption a test sets and answers the player requests (WM_USER, request number
// in lParam) with the values a test sets. Every request is recorded as
// "REQUEST SELECTOR", e.g. "105 0".
//
// In the Unicode charset it is Winamp 5, which keeps the window class and requests
// but registers the class with RegisterClassW: the captions a test gives in UTF-8
// are set as UTF-16 with SetWindowTextW, and a scroll turns them by UTF-16 units.
class SimWinamp2 {
public:
    // A visible player also paints its caption in large type in its client area.
    explicit SimWinamp2(bool visible = false, Charset charset = Charset::Ansi);
    ~SimWinamp2();
    SimWinamp2(const SimWinamp2&) = delete;
    SimWinamp2& operator=(const SimWinamp2&) = delete;

    void SetCaption(const std::string& caption);
    // Scrolls the still caption as the player does with taskbar scrolling on: the
    // caption moves on one step every `stepMs`, round and round, until the next
    // SetCaption or Scroll. A Unicode player's steps may cut a character of two
    // UTF-16 units in two.
    void Scroll(const std::string& still, ScrollForm form, UINT stepMs);
    void SetPlayedMs(int ms);          // request 105, selector 0
    void SetSongSeconds(int seconds);  // request 105, selector 1
    void SetListCount(int count);      // request 124
    void SetListIndex(int index);      // request 125, 0-based
    void SetBitrate(int bitrate);      // request 126, selector 1

    // A misbehaving player. Its window answers WM_GETTEXT with these bytes (NULs
    // included; a Unicode player's are UTF-16LE units) instead of its caption, and
    // WM_GETTEXTLENGTH with their count (of units)...
    void ReportCaptionBytes(const std::string& bytes);
    // ...or with this length, whatever the text (e.g. -1 or 0x7FFFFFFF).
    void ReportTextLength(LRESULT length);
    // Back to answering with its real caption.
    void ReportTruly();
    // Called on the player's thread each time it answers the time-played request
    // (105, selector 0), before answering; a non-empty result becomes the caption
    // at once. Lets a test change the track in the middle of a poll.
    void OnPlayedRequest(std::function<std::string()> nextCaption);
    // The player's thread stops taking messages (returns once it has) until
    // Release() or the end.
    void Hang();
    void Release();

    Record& Requests() { return requests_; }
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Answer(WPARAM selector, LPARAM request);
    bool AnswerText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Paint(HWND window);
    void Set(int& field, int value);
    void ShowNextScrollStep();
    // The caption as bytes (ANSI) or in UTF-8, half characters included (Unicode).
    void ShowCaption(const std::string& caption);

    Lock lock_;
    int playedMs_ = 0, songSeconds_ = 0, listCount_ = 0, listIndex_ = 0, bitrate_ = 0;
    std::optional<std::string> reportedBytes_;  // guarded by lock_
    std::optional<LRESULT> reportedLength_;     // guarded by lock_
    std::function<std::string()> onPlayed_;     // guarded by lock_
    HANDLE released_ = nullptr;                 // set: the thread runs
    HANDLE hanging_ = nullptr;                  // set: the thread has stopped
    Charset charset_;
    std::vector<std::string> scrollSteps_;  // the player's thread only
    std::size_t scrollStep_ = 0;
    Record requests_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    PeerThread thread_;  // last: ends first, after the destructor has destroyed the window
};

// A Winamp 3 player: a top-level "Studio" window, and a top-level
// "BaseWindow_RootWnd" playlist frame with `panes` "BaseWindow_RootWnd" children.
// The pane the player keeps its list in (the fourth when there are four or more,
// the first when there are exactly two, none otherwise) says "Playlist Editor: N
// items"; the other panes carry captions of their own.
class SimWinamp3 {
public:
    explicit SimWinamp3(int panes);
    ~SimWinamp3();
    SimWinamp3(const SimWinamp3&) = delete;
    SimWinamp3& operator=(const SimWinamp3&) = delete;

    void SetCaption(const std::string& caption);          // the "Studio" window
    void SetPlaylistCaption(const std::string& caption);  // the playlist frame
    void SetItemCount(int count);                         // the list pane

    HWND Window() const { return studio_; }
    HWND Playlist() const { return playlist_; }
    HWND ListPane() const;  // nullptr when no pane holds the list
    const std::vector<HWND>& Panes() const { return panes_; }

private:
    void SetTextOf(HWND window, const std::string& text);

    HWND studio_ = nullptr, playlist_ = nullptr;
    std::vector<HWND> panes_;
    PeerThread thread_;
};

}  // namespace tobla::sim
