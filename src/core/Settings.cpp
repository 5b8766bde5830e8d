#include "core/Settings.h"

#include <cctype>
#include <charconv>

namespace tobla {

std::string InFolder(const std::string& folder, const std::string& fileName) {
    return folder + "\\" + fileName;
}

int SettleSecondsFromSetting(const std::string& stored) {
    constexpr int kShortest = 1, kLongest = 3600;
    int seconds = 0;
    const char* end = stored.data() + stored.size();
    const auto [stop, error] = std::from_chars(stored.data(), end, seconds);
    if (error != std::errc() || stop != end || seconds < kShortest || seconds > kLongest)
        return kShortest;
    return seconds;
}

std::string ProfileValue(const std::string& value) {
    const auto isBlank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const bool blankAround = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool quotedWhole = value.size() >= 2 && value.front() == value.back() &&
                             (value.front() == '"' || value.front() == '\'');
    return blankAround || quotedWhole ? '"' + value + '"' : value;
}

}  // namespace tobla
