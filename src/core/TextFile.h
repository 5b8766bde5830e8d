#pragma once
#include <string>

#include "core/Interfaces.h"

// Text files as older versions wrote them, in the system's ANSI code page, for as long
// as their text fits it; a file that must hold more is UTF-8 after a byte order mark,
// whole, and is read so whatever its content.
namespace tobla {

inline constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

// A file in UTF-8: after the mark, or (as editors save it by default) without one,
// well-formed with at least one byte above 0x7F. Code-page text with such bytes is
// practically never well-formed UTF-8, so files of older versions are not taken
// for it.
bool IsUtf8File(const std::string& bytes);
// The file's text in UTF-8.
std::string TextOfFile(const std::string& bytes, CodePage& codePage);
// The bytes of a file that holds the text: the code page's when it writes every
// character, else UTF-8 with the mark.
std::string FileBytesOf(const std::string& text, CodePage& codePage);

// Adds lines (given with their CR LF) to a text file, in the file's own form. Lines
// the code page cannot write turn a code-page file into UTF-8 first, its lines
// converted with it. False when they were not added: a file that exists but cannot
// be read, or cannot be written, is left untouched.
bool AppendTextLines(const std::string& path, const std::string& lines, FileSystem& files,
                     CodePage& codePage);

}  // namespace tobla
