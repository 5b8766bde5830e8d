#include "core/WindowSettings.h"

#include "core/OperationFailed.h"
#include "core/Settings.h"

namespace tobla {

std::string WindowSettings::Read(const char* key) {
    return store_.GetFromIni(kSettingsSection, key, file_);
}

void WindowSettings::Write(const char* key, const std::string& value) {
    if (store_.WriteToIni(kSettingsSection, key, value, file_))
        waiting_.erase(key);
    else
        waiting_[key] = value;
}

void WindowSettings::WriteIfChanged(const char* key, const std::string& value) {
    if (Read(key) != value) Write(key, value);
}

void WindowSettings::WriteWaiting() {
    for (const auto& waiting : std::map(waiting_))  // a copy: each write changes waiting_
        Guarded([&] { Write(waiting.first.c_str(), waiting.second); });
}

}  // namespace tobla
