#include "core/TextFile.h"

#include <cstring>

#include "core/Utf.h"

namespace tobla {

namespace {
bool HasUtf8Mark(const std::string& bytes) { return bytes.rfind(kUtf8Mark, 0) == 0; }
}  // namespace

bool IsUtf8File(const std::string& bytes) {
    return HasUtf8Mark(bytes) || (!text::IsAscii(bytes) && text::IsWellFormedUtf8(bytes));
}

std::string TextOfFile(const std::string& bytes, CodePage& codePage) {
    if (HasUtf8Mark(bytes)) return bytes.substr(std::strlen(kUtf8Mark));
    return IsUtf8File(bytes) ? bytes : codePage.ToUtf8(bytes);
}

std::string FileBytesOf(const std::string& text, CodePage& codePage) {
    if (auto bytes = codePage.FromUtf8(text)) return *bytes;
    return kUtf8Mark + text;
}

bool AppendTextLines(const std::string& path, const std::string& lines, FileSystem& files,
                     CodePage& codePage) {
    std::optional<std::string> old;
    if (files.FileExists(path) && !(old = files.ReadFile(path))) return false;
    if (old && IsUtf8File(*old)) return files.AppendLine(path, lines);
    if (const auto bytes = codePage.FromUtf8(lines)) return files.AppendLine(path, *bytes);
    std::string text = old ? codePage.ToUtf8(*old) : std::string();
    if (!text.empty() && text.back() != '\n') text += text.back() == '\r' ? "\n" : "\r\n";
    return files.WriteFile(path, kUtf8Mark + text + lines);
}

}  // namespace tobla
