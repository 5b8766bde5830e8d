#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tobla {

// The file system as the toolkit helpers need it. Paths are ANSI, Windows style.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when a directory search for the path finds an ordinary file (hidden,
    // system files and folders do not match; a trailing "\" searches the folder).
    virtual bool FileExists(const std::string& path) = 0;
    // The whole file, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Creates or truncates the file and writes the bytes; false when it cannot.
    virtual bool WriteFile(const std::string& path, const std::string& bytes) = 0;
    // Adds a line (given with its CR LF) at the end of the file without truncating
    // it first, creating it when missing; a last line lacking its line end gets one
    // first. False when the file cannot be written: its content is then untouched.
    virtual bool AppendLine(const std::string& path, const std::string& line) = 0;
    // Creates a folder; false when it cannot (it exists, or a file has its name).
    virtual bool CreateFolder(const std::string& path) = 0;
};

// The date and the time as the user's locale writes them, and a clock of the time
// since midnight. The clock counts whole milliseconds: a reading compared with an
// equal one taken earlier must compare equal, which floating point on the x87 unit
// does not promise.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string ShortDate() = 0;
    virtual std::string LongTime() = 0;
    virtual std::int32_t MillisecondsSinceMidnight() = 0;
};

// Starts a program from a command line with a normal, focused window.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void Launch(const std::string& commandLine) = 0;
};

}  // namespace tobla
