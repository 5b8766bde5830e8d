#pragma once
#include <cstdint>
#include <optional>
#include <string>

// Every interface through which the portable code reaches the world outside it:
// other programs' windows, the player, the chat clients, the settings file, the
// files and the clock, the program launcher, the system's case rules and the
// window's own controls. The Windows implementations live in win32/; tests use
// in-memory ones. Any operation may throw OperationFailed; callers that follow the
// program's rule skip that step.
namespace tobla {

// A 32-bit window handle; 0 means none.
using WindowHandle = std::uint32_t;

// Lets the program's pending window events run: a timer tick or a click may be
// handled in the middle of the caller.
class Yielder {
public:
    virtual ~Yielder() = default;
    virtual void YieldEvents() = 0;
};

// The operations on other programs' windows. Every call finds and asks anew.
// An operation throws OperationFailed when the window does not answer in time
// (or is reported hung); a message to a handle that does not exist does nothing
// and yields 0.
class ForeignWindows : public Yielder {
public:
    // The first top-level window of the class, 0 if none.
    virtual WindowHandle FindTopLevel(const std::string& className) = 0;
    // The next child of parent with the class after `after` (0: the first child);
    // a parent of 0 searches the top-level windows.
    virtual WindowHandle FindChild(WindowHandle parent, WindowHandle after,
                                   const std::string& className) = 0;
    // Sends a message with integer arguments and returns its result.
    virtual std::int32_t Send(WindowHandle window, std::uint32_t message, std::uint32_t wParam,
                              std::int32_t lParam) = 0;
    // WM_SETTEXT with the text.
    virtual void SetText(WindowHandle window, const std::string& text) = 0;
    // WM_GETTEXT with wParam length + 1 into a buffer of `length` NULs and a
    // terminating NUL; returns all `length` characters as filled.
    virtual std::string GetTextBuffer(WindowHandle window, std::uint32_t length) = 0;
};

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
    // A stream: the player knows no length for what it plays.
    virtual bool PlaysStream() = 0;
};

// A chat that announcements are typed into: the AOL chat room or the AIM chat window.
class ChatTarget {
public:
    virtual ~ChatTarget() = default;
    virtual bool IsOpen() = 0;
    // Types the line into the chat; nothing when it has closed meanwhile.
    virtual void Send(const std::string& line) = 0;
};

// Reads one setting of a profile (INI) file: the key lowercased, at most 749
// characters, the empty text when absent.
class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    virtual std::string GetFromIni(const std::string& section, const std::string& key,
                                   const std::string& file) = 0;
};

// Reads and writes one setting. A write returns false when the file could not take
// the value (held by another program, read-only): the file is then as it was.
class SettingsStore : public SettingsReader {
public:
    virtual bool WriteToIni(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& file) = 0;
};

class PlayLog {
public:
    virtual ~PlayLog() = default;
    virtual void AppendPlayLog(const std::string& title) = 0;
};

// The file system as the play log and the list files need it. Paths are UTF-8,
// Windows style; contents are bytes.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a directory search for the path finds an ordinary file (hidden,
    // system files and folders do not match; a trailing "\" searches the folder).
    virtual bool FileExists(const std::string& path) = 0;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Makes the bytes the file's whole content, the old content kept whole until the
    // new is (written beside it, then moved over it); false when it cannot, the old
    // content then whole.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // Adds a line (given with its CR LF) at the end of the file without truncating
    // it first, creating it when missing; a last line lacking its line end gets one
    // first. False when the file cannot be written: its content is then untouched.
    virtual bool AppendLine(const std::string& path, const std::string& line) = 0;
    // Creates a folder; false when it cannot (it exists, or a file has its name).
    virtual bool CreateFolder(const std::string& path) = 0;
};

// The system's ANSI code page, in which files stay while their text fits it.
class CodePage {
public:
    virtual ~CodePage() = default;
    // The text in the code page; nothing when a character has no exact form there.
    virtual std::optional<std::string> FromUtf8(const std::string& utf8) = 0;
    virtual std::string ToUtf8(const std::string& bytes) = 0;
};

// The date and the time as the user's locale writes them, a clock of the time since
// midnight, and a monotonic one. The clocks count whole milliseconds: a reading
// compared with an equal one taken earlier must compare equal, which floating point
// on the x87 unit does not promise.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string ShortDate() = 0;
    virtual std::string LongTime() = 0;
    virtual std::int32_t MillisecondsSinceMidnight() = 0;
    // Milliseconds since some fixed moment; never goes back, not at midnight nor when
    // the user sets the clock, so a wait measured with it ends when it should.
    virtual std::int64_t MonotonicMilliseconds() = 0;
};

// Starts a program from a command line with a normal, focused window.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void Launch(const std::string& commandLine) = 0;
};

// The system's case rules: accented and other letters included, not only A to Z.
class CaseRules {
public:
    virtual ~CaseRules() = default;
    virtual std::string Lowercase(const std::string& text) = 0;
};

// A list control of the window (the template box's list, the font list) or a
// plain fake: what the list-file and de-duplication procedures need of it.
class ListControl {
public:
    virtual ~ListControl() = default;
    virtual int Count() = 0;
    virtual std::string Entry(int index) = 0;  // 0-based
    virtual void Append(const std::string& text) = 0;
    virtual void Remove(int index) = 0;
};

// The main window's controls, which are the live settings.
class AnnouncerControls {
public:
    virtual ~AnnouncerControls() = default;
    virtual bool AolTicked() = 0;                               // Check1 not unchecked
    virtual bool AimTicked() = 0;                               // Check2 not unchecked
    virtual std::string FontFace() = 0;                         // Combo1's text
    virtual std::string TemplateText() = 0;                     // Text1's text
    virtual void SetTemplateText(const std::string& text) = 0;  // raises its change handling
    virtual void ShowLastTitle(const std::string& title) = 0;   // Label4's caption
};

}  // namespace tobla
