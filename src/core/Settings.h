#pragma once
#include <string>
#include <vector>

#include "core/Interfaces.h"

namespace tobla {

inline constexpr const char* kSettingsSection = "Tobla";
inline constexpr const char* kSettingsFileName = "\\Tobla.ini";
inline constexpr const char* kTemplateListFileName = "\\send.fmt";

// The fields of a list file: comma-separated items, a double-quoted field keeps
// its commas and reads a doubled quote as one, an empty line is one empty field,
// blanks before a field are skipped.
std::vector<std::string> ReadListFields(const std::string& content);
// An entry as its line of the list file: bare, unless it would not read back as
// itself (a comma or line break in it, a blank or a double quote first); then in
// double quotes, its own doubled. So lists of plain entries stay easy to edit.
std::string ListFileLine(const std::string& entry);

// The "settle" setting: the seconds a track plays before it is announced, whole
// seconds from 1 to an hour as the menu writes them or a user types them; anything
// else is 1, the time every track waited before the choice was offered.
int SettleSecondsFromSetting(const std::string& stored);

// A settings value as it is handed to the profile writer: the profile reader drops
// blanks around a value and one pair of quotes around it, so a value that has
// either is written inside double quotes, and reads back exactly as it was.
std::string ProfileValue(const std::string& value);

namespace toolkit {
// Appends the file's fields to the list, letting events run before each append.
// A file that cannot be read adds nothing.
void LoadListFromFile(const std::string& path, ListControl& list, FileSystem& files,
                      CodePage& codePage, Yielder& yielder);
// Writes every entry followed by CR LF (an empty list gives 0 bytes), in the code
// page while it writes every entry, else in UTF-8 after a byte order mark. False
// when the file could not be written: it then keeps its old content.
bool SaveListToFile(const std::string& path, ListControl& list, FileSystem& files,
                    CodePage& codePage);
// True when an entry equals the text, ignoring case.
bool IsInList(ListControl& list, const std::string& text, CaseRules& cases);
}  // namespace toolkit

namespace winampApi {
// Removes neighbouring entries equal ignoring case; returns how many it removed.
int RemoveDuplicates(ListControl& list, Yielder& yielder, CaseRules& cases);
}  // namespace winampApi

}  // namespace tobla
