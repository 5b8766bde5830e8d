#pragma once
#include <string>

// The settings file, "Tobla.ini", and the rules of its values.
namespace tobla {

inline constexpr const char* kSettingsSection = "Tobla";
inline constexpr const char* kSettingsFileName = "Tobla.ini";

// A file of the program folder: the folder's path, a "\\" and the file's name.
std::string InFolder(const std::string& folder, const std::string& fileName);

// The "settle" setting: the seconds a track plays before it is announced, whole
// seconds from 1 to an hour as the menu writes them or a user types them; anything
// else is 1, the time every track waited before the choice was offered.
int SettleSecondsFromSetting(const std::string& stored);

// A settings value as it is handed to the profile writer: the profile reader drops
// blanks around a value and one pair of quotes around it, so a value that has
// either is written inside double quotes, and reads back exactly as it was.
std::string ProfileValue(const std::string& value);

}  // namespace tobla
