#include "core/TextFile.h"

#include <cstring>

#include "core/OperationFailed.h"
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

void AppendTextLine(const std::string& path, const std::string& line, FileSystem& files,
                    CodePage& codePage) {
    std::optional<std::string> old;
    if (files.FileExists(path) && !(old = files.ReadFile(path)))
        throw OperationFailed("the file cannot be read");
    if (old && IsUtf8File(*old)) {
        files.AppendLine(path, line);
    } else if (const auto bytes = codePage.FromUtf8(line)) {
        files.AppendLine(path, *bytes);
    } else {
        std::string text = old ? codePage.ToUtf8(*old) : std::string();
        if (!text.empty() && text.back() != '\n') text += text.back() == '\r' ? "\n" : "\r\n";
        files.WriteFile(path, kUtf8Mark + text + line);
    }
}

}  // namespace tobla
