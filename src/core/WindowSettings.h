#pragma once
#include <map>
#include <string>

#include "core/Interfaces.h"

namespace tobla {

// The settings file as the window keeps it: each value is written the moment it
// changes. One the file could not take (another program held it) waits, and goes out
// with the next change of it or when the program ends.
class WindowSettings {
public:
    WindowSettings(SettingsStore& store, std::string file)
        : store_(store), file_(std::move(file)) {}

    std::string Read(const char* key);
    void Write(const char* key, const std::string& value);
    // Writes only a value the file does not hold already.
    void WriteIfChanged(const char* key, const std::string& value);
    void WriteWaiting();

private:
    SettingsStore& store_;
    std::string file_;
    std::map<std::string, std::string> waiting_;
};

}  // namespace tobla
