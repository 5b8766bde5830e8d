#include "win32/Win32Services.h"

#include <windows.h>

#include <vector>

#include "core/Settings.h"
#include "core/Text.h"
#include "win32/Scoped.h"

namespace tobla {

namespace {

constexpr DWORD kSettingBufferLength = 750;
constexpr DWORD kVolumeLabelAttribute = 0x8;
constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute;

ScopedHandle OpenFile(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
    return ScopedHandle(CreateFileA(path.c_str(), access, sharing,
                                    /* lpSecurityAttributes= */ nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, /* hTemplateFile= */ nullptr));
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                         &written, /* lpOverlapped= */ nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string FormattedNow(bool date) {
    char buffer[256] = {};
    const int n =
        date ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, /* lpDate= */ nullptr,
                              /* lpFormat= */ nullptr, buffer, sizeof buffer)
             : GetTimeFormatA(LOCALE_USER_DEFAULT, /* dwFlags= */ 0, /* lpTime= */ nullptr,
                              /* lpFormat= */ nullptr, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n - 1)) : std::string();
}

// Windows refuses to write a read-only file; Wine leaves that to the host's file
// permissions, which do not hold for a privileged user. Asked first, so both agree.
bool ReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

std::string ProgramFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(/* hModule= */ nullptr, buffer.data(),
                                           static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            const std::string path(buffer.data(), n);
            const auto slash = path.rfind('\\');
            if (slash == std::string::npos) return {};
            // "C:\Tobla.exe" lives in "C:\", which keeps its backslash.
            if (slash == 2 && path[1] == ':') return path.substr(0, 3);
            return path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string Win32Settings::GetFromIni(const std::string& section, const std::string& key,
                                      const std::string& file) {
    std::vector<char> buffer(kSettingBufferLength, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), text::Lowercase(key).c_str(),
                                             /* lpDefault= */ "", buffer.data(),
                                             kSettingBufferLength, file.c_str());
    return std::string(buffer.data(), n < kSettingBufferLength ? n : kSettingBufferLength - 1);
}

// A read-only settings file is left alone, as Windows leaves it (see ReadOnly).
void Win32Settings::WriteToIni(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
    if (ReadOnly(file)) return;
    WritePrivateProfileStringA(section.c_str(), key.c_str(), ProfileValue(value).c_str(),
                               file.c_str());
}

bool Win32FileSystem::FileExists(const std::string& path) {
    if (path.empty()) return false;
    // A search for "folder\" finds nothing; the folder's contents are meant.
    const std::string pattern = path.back() == '\\' ? path + "*" : path;
    WIN32_FIND_DATAA found;
    const ScopedFind search(FindFirstFileA(pattern.c_str(), &found));
    if (!search) return false;
    bool ordinary = false;
    do {
        ordinary = (found.dwFileAttributes & kNotOrdinary) == 0;
    } while (!ordinary && FindNextFileA(search.get(), &found));
    return ordinary;
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
    const ScopedHandle file =
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) return std::nullopt;
    std::string content;
    char chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, /* lpOverlapped= */ nullptr))
            return std::nullopt;
        if (read == 0) return content;
        content.append(chunk, read);
    }
}

bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    if (ReadOnly(path)) return false;
    const ScopedHandle file = OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    return file && WriteAll(file.get(), bytes);
}

// Opened for appending only (plus reading the last byte), so no byte already in
// the file can be overwritten; a file locked or read-only fails to open untouched.
bool Win32FileSystem::AppendLine(const std::string& path, const std::string& line) {
    if (ReadOnly(path)) return false;
    const ScopedHandle file =
        OpenFile(path, GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, OPEN_ALWAYS);
    if (!file) return false;
    std::string bytes = line;
    if (GetFileSize(file.get(), /* lpFileSizeHigh= */ nullptr) > 0) {
        char last = '\n';
        DWORD read = 0;
        if (SetFilePointer(file.get(), -1, /* lpDistanceToMoveHigh= */ nullptr, FILE_END) ==
                INVALID_SET_FILE_POINTER ||
            !::ReadFile(file.get(), &last, 1, &read, /* lpOverlapped= */ nullptr) || read != 1)
            return false;
        // A lone CR at the end needs only its LF to end the line.
        if (last == '\r') bytes = "\n" + bytes;
        else if (last != '\n') bytes = "\r\n" + bytes;
    }
    SetFilePointer(file.get(), 0, /* lpDistanceToMoveHigh= */ nullptr, FILE_END);
    return WriteAll(file.get(), bytes);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), /* lpSecurityAttributes= */ nullptr) != 0;
}

std::string Win32Clock::ShortDate() { return FormattedNow(/* date= */ true); }

std::string Win32Clock::LongTime() { return FormattedNow(/* date= */ false); }

std::int32_t Win32Clock::MillisecondsSinceMidnight() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

std::string Win32CaseRules::Lowercase(const std::string& text) {
    std::string lower = text;
    if (!lower.empty()) CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

void Win32Launcher::Launch(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    CreateProcessA(/* lpApplicationName= */ nullptr, command.data(),
                   /* lpProcessAttributes= */ nullptr, /* lpThreadAttributes= */ nullptr,
                   /* bInheritHandles= */ FALSE, /* dwCreationFlags= */ 0,
                   /* lpEnvironment= */ nullptr, /* lpCurrentDirectory= */ nullptr, &startup,
                   &process);
    // Not waited for: the handles are let go at once (null when the start failed).
    const ScopedHandle started(process.hProcess), thread(process.hThread);
}

}  // namespace tobla
