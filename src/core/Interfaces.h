#pragma once
#include <cstdint>
#include <string>

#include "platform/ForeignWindows.h"

// The small interfaces through which the announcer reaches the player, the chat
// clients, the settings file, the play log and the window's own controls. Any of
// their operations may throw OperationFailed; the poll cycle skips that step.
namespace tobla {

// The facts of the current track; each call asks the running player anew.
class PlayerFacts {
public:
    virtual ~PlayerFacts() = default;
    virtual std::string SongTitle() = 0;
    virtual std::int32_t PlayedSeconds() = 0;
    virtual std::string SongLength() = 0;
    virtual std::string Bitrate() = 0;
    virtual std::int32_t ListPosition() = 0;
    virtual std::string ListCount() = 0;
};

// The two chat targets.
class ChatTargets {
public:
    virtual ~ChatTargets() = default;
    // Types the line into the open AOL chat room; nothing when none is open.
    virtual void SendChat(const std::string& text) = 0;
    // The AIM chat window, 0 when none is open.
    virtual WindowHandle AimFindRoom() = 0;
    virtual void AimRoomSend(const std::string& sendString) = 0;
};

// Reads one setting; the empty text when absent.
class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    virtual std::string GetFromIni(const std::string& section, const std::string& key,
                                   const std::string& file) = 0;
};

class PlayLog {
public:
    virtual ~PlayLog() = default;
    virtual void AppendPlayLog(const std::string& title) = 0;
};

// The main window's controls, which are the live settings.
class AnnouncerControls {
public:
    virtual ~AnnouncerControls() = default;
    virtual bool AolTicked() = 0;                 // Check1 not unchecked
    virtual bool AimTicked() = 0;                 // Check2 not unchecked
    virtual std::string FontFace() = 0;           // Combo1's text
    virtual std::string TemplateText() = 0;       // Text1's text
    virtual void SetTemplateText(const std::string& text) = 0;  // raises its change handling
    virtual void ShowLastTitle(const std::string& title) = 0;   // Label4's caption
};

// The system's case rules for 8-bit text: the letters of the ANSI code page, accented
// ones included, not only A to Z.
class CaseRules {
public:
    virtual ~CaseRules() = default;
    virtual std::string Lowercase(const std::string& text) = 0;
};

// Lets the program's pending window events run.
class Yielder {
public:
    virtual ~Yielder() = default;
    virtual void YieldEvents() = 0;
};

}  // namespace tobla
