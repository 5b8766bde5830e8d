#pragma once
#include <string>

#include "core/Interfaces.h"
#include "core/Settings.h"

namespace tobla {

// The folder of the running executable, without a trailing "\" (a drive root keeps it).
std::string ProgramFolder();

// Settings through kernel32's profile functions.
class Win32Settings : public SettingsStore {
public:
    std::string GetFromIni(const std::string& section, const std::string& key,
                           const std::string& file) override;
    void WriteToIni(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& file) override;
};

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool WriteFile(const std::string& path, const std::string& bytes) override;
    bool AppendLine(const std::string& path, const std::string& line) override;
    bool CreateFolder(const std::string& path) override;
};

class Win32Clock : public Clock {
public:
    std::string ShortDate() override;
    std::string LongTime() override;
    std::int32_t MillisecondsSinceMidnight() override;
};

// Lowercase by the rules of the system's ANSI code page (CharLowerBuff).
class Win32CaseRules : public CaseRules {
public:
    std::string Lowercase(const std::string& text) override;
};

class Win32Launcher : public Launcher {
public:
    void Launch(const std::string& commandLine) override;
};

}  // namespace tobla
