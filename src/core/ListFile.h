#pragma once
#include <string>
#include <vector>

#include "core/Interfaces.h"

// The list of saved templates, "send.fmt": its format, and the list controls it fills
// and is saved from.
namespace tobla {

inline constexpr const char* kTemplateListFileName = "send.fmt";

// The fields of a list file: comma-separated items, a double-quoted field keeps
// its commas and reads a doubled quote as one, an empty line is one empty field,
// blanks before a field are skipped.
std::vector<std::string> ReadListFields(const std::string& content);
// An entry as its line of the list file: bare, unless it would not read back as
// itself (a comma or line break in it, a blank or a double quote first); then in
// double quotes, its own doubled. So lists of plain entries stay easy to edit.
std::string ListFileLine(const std::string& entry);

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
