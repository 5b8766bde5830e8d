#pragma once
#include <set>
#include <string>

#include "core/Interfaces.h"

namespace tobla {

// The folder of the running executable, without a trailing "\" (a drive root keeps it).
std::string ProgramFolder();

// The system's ANSI code page.
class Win32CodePage : public CodePage {
public:
    std::optional<std::string> FromUtf8(const std::string& utf8) override;
    std::string ToUtf8(const std::string& bytes) override;
};

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendLine(const std::string& path, const std::string& line) override;
    bool CreateFolder(const std::string& path) override;
};

// Settings through kernel32's profile functions, in the code page while every value
// fits it, else in UTF-16. They read no UTF-8: a file an editor saved so is turned
// into UTF-16 before it is read or written.
class Win32Settings : public SettingsStore {
public:
    Win32Settings(FileSystem& files, CodePage& codePage) : files_(files), codePage_(codePage) {}
    std::string GetFromIni(const std::string& section, const std::string& key,
                           const std::string& file) override;
    bool WriteToIni(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file) override;

private:
    bool PrepareForProfile(const std::string& file, bool unicodeValue);

    FileSystem& files_;
    CodePage& codePage_;
    std::set<std::string> readable_;  // files found in a form the profile functions read
};

class Win32Clock : public Clock {
public:
    std::string ShortDate() override;
    std::string LongTime() override;
    std::int32_t MillisecondsSinceMidnight() override;
    std::int64_t MonotonicMilliseconds() override;
};

// Lowercase by the system's rules (CharLowerBuffW).
class Win32CaseRules : public CaseRules {
public:
    std::string Lowercase(const std::string& text) override;
};

class Win32Launcher : public Launcher {
public:
    void Launch(const std::string& commandLine) override;
};

}  // namespace tobla
