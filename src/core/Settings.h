#pragma once
#include <string>
#include <vector>

#include "core/Interfaces.h"

namespace tobla {

inline constexpr const char* kSettingsSection = "Tobla";
inline constexpr const char* kSettingsFileName = "\\Tobla.ini";
inline constexpr const char* kTemplateListFileName = "\\send.fmt";

// The fields of a list file: comma-separated items, a double-quoted field keeps
// its commas, an empty line is one empty field, blanks before a field are skipped.
std::vector<std::string> ReadListFields(const std::string& content);

namespace toolkit {
// Appends the file's fields to the list, letting events run before each append.
// A file that cannot be read adds nothing.
void LoadListFromFile(const std::string& path, ListControl& list, FileSystem& files,
                      Yielder& yielder);
// Writes every entry followed by CR LF (an empty list gives 0 bytes).
void SaveListToFile(const std::string& path, ListControl& list, FileSystem& files);
// True when an entry equals the text, ignoring case.
bool IsInList(ListControl& list, const std::string& text, CaseRules& cases);
}  // namespace toolkit

namespace winampApi {
// Removes neighbouring entries equal ignoring case; returns how many it removed.
int RemoveDuplicates(ListControl& list, Yielder& yielder, CaseRules& cases);
}  // namespace winampApi

}  // namespace tobla
