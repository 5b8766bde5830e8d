#include "win32/Win32Services.h"

#include <windows.h>

#include <vector>

#include "core/Settings.h"
#include "core/Text.h"
#include "core/TextFile.h"
#include "win32/Scoped.h"
#include "win32/WideText.h"

namespace tobla {

namespace {

constexpr DWORD kSettingBufferLength = 750;
constexpr const char* kUtf16Mark = "\xFF\xFE";
constexpr DWORD kVolumeLabelAttribute = 0x8;
constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute;

ScopedHandle OpenFile(const std::string& path, DWORD access, DWORD sharing, DWORD disposition) {
    return ScopedHandle(CreateFileW(Wide(path).c_str(), access, sharing,
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
    wchar_t buffer[256] = {};
    const int n = date
                      ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, /* lpDate= */ nullptr,
                                       /* lpFormat= */ nullptr, buffer, 256)
                      : GetTimeFormatW(LOCALE_USER_DEFAULT, /* dwFlags= */ 0, /* lpTime= */ nullptr,
                                       /* lpFormat= */ nullptr, buffer, 256);
    return n > 0 ? Utf8(buffer, static_cast<std::size_t>(n - 1)) : std::string();
}

// A new file beside `path` for its next content, and the file's name. A "<file>.new"
// that cannot be written (left read-only, or held open by another program, after an
// earlier write) does not stop every later write: a name the system makes unique
// takes its place.
ScopedHandle CreateBeside(const std::string& path, std::string& name) {
    name = path + ".new";
    ScopedHandle file = OpenFile(name, GENERIC_WRITE, /* sharing= */ 0, CREATE_ALWAYS);
    wchar_t unique[MAX_PATH];
    const std::wstring folder = Wide(path.substr(0, path.rfind('\\') + 1));
    if (file || !GetTempFileNameW(folder.c_str(), L"tob", /* uUnique= */ 0, unique)) return file;
    name = Utf8(unique, wcslen(unique));
    file = OpenFile(name, GENERIC_WRITE, /* sharing= */ 0, TRUNCATE_EXISTING);
    if (!file) DeleteFileW(unique);
    return file;
}

// Moves the new content over the file. A reader (an editor loading the file, an
// indexer, a virus scanner checking what was just written) holds a file for moments
// and keeps the move from replacing it meanwhile: the move is tried a few times
// before it counts as refused.
bool MoveOver(const std::string& beside, const std::string& path) {
    constexpr int kTries = 5;
    constexpr DWORD kPauseMs = 20;
    for (int tries = 1;; ++tries) {
        if (MoveFileExW(Wide(beside).c_str(), Wide(path).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        if (tries == kTries) return false;
        Sleep(kPauseMs);
    }
}

// Windows refuses to write a read-only file; Wine leaves that to the host's file
// permissions, which do not hold for a privileged user. Asked first, so both agree.
bool ReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

std::string ProgramFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(/* hModule= */ nullptr, buffer.data(),
                                           static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            const std::string path = Utf8(buffer.data(), n);
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
    if (!readable_.count(file) && PrepareForProfile(file, /* unicodeValue= */ false))
        readable_.insert(file);
    std::wstring buffer(kSettingBufferLength, L'\0');
    const DWORD n = GetPrivateProfileStringW(
        Wide(section).c_str(), Wide(text::Lowercase(key)).c_str(), /* lpDefault= */ L"",
        buffer.data(), kSettingBufferLength, Wide(file).c_str());
    return Utf8(buffer.data(), n < kSettingBufferLength ? n : kSettingBufferLength - 1);
}

// A read-only settings file is left alone, as Windows leaves it (see ReadOnly).
bool Win32Settings::WriteToIni(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& file) {
    if (ReadOnly(file)) return false;
    const std::string stored = ProfileValue(value);
    const bool unicodeValue = !codePage_.FromUtf8(section + key + stored);
    return PrepareForProfile(file, unicodeValue) &&
           WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(),
                                      Wide(stored).c_str(), Wide(file).c_str());
}

// The profile functions read and write the code page, and Unicode only in a file that
// begins with the UTF-16 mark. A file in UTF-8 is turned into UTF-16 first, and so is
// one in the code page when a value needs Unicode, every line kept. False when the
// file cannot be read or rewritten now: it is left as it was.
bool Win32Settings::PrepareForProfile(const std::string& file, bool unicodeValue) {
    std::optional<std::string> bytes = std::string();
    if (files_.FileExists(file)) bytes = files_.ReadFile(file);
    if (!bytes) return false;
    if (bytes->rfind(kUtf16Mark, 0) == 0 || !(unicodeValue || IsUtf8File(*bytes))) return true;
    std::string utf16 = kUtf16Mark;
    for (const wchar_t unit : Wide(TextOfFile(*bytes, codePage_))) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    return files_.WriteFile(file, utf16);
}

bool Win32FileSystem::FileExists(const std::string& path) {
    if (path.empty()) return false;
    // A search for "folder\" finds nothing; the folder's contents are meant.
    const std::string pattern = path.back() == '\\' ? path + "*" : path;
    WIN32_FIND_DATAW found;
    const ScopedFind search(FindFirstFileW(Wide(pattern).c_str(), &found));
    if (!search) return false;
    bool ordinary = false;
    do {
        ordinary = (found.dwFileAttributes & kNotOrdinary) == 0;
    } while (!ordinary && FindNextFileW(search.get(), &found));
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

// Written beside the file, then moved over it: a full disk, a crash, or another
// program holding the file (a log viewer, a backup tool, a virus scanner) that keeps
// the move from replacing it, leaves the old content whole; the caller keeps the
// change for a later write.
bool Win32FileSystem::WriteFile(const std::string& path, const std::string& bytes) {
    if (ReadOnly(path)) return false;
    std::string beside;
    {
        const ScopedHandle file = CreateBeside(path, beside);
        if (!file) return false;
        if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            DeleteFileW(Wide(beside).c_str());
            return false;
        }
    }
    if (MoveOver(beside, path)) return true;
    DeleteFileW(Wide(beside).c_str());
    return false;
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
        if (last == '\r')
            bytes = "\n" + bytes;
        else if (last != '\n')
            bytes = "\r\n" + bytes;
    }
    SetFilePointer(file.get(), 0, /* lpDistanceToMoveHigh= */ nullptr, FILE_END);
    return WriteAll(file.get(), bytes);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), /* lpSecurityAttributes= */ nullptr) != 0;
}

std::string Win32Clock::ShortDate() { return FormattedNow(/* date= */ true); }

std::string Win32Clock::LongTime() { return FormattedNow(/* date= */ false); }

std::int32_t Win32Clock::MillisecondsSinceMidnight() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

// The performance counter: exact to the millisecond, where GetTickCount moves in steps
// of up to 16 ms and wraps after 49.7 days (GetTickCount64 is not on XP). Whole
// seconds and the rest apart, so that no product overflows 64 bits.
std::int64_t Win32Clock::MonotonicMilliseconds() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    const std::int64_t perSecond = frequency.QuadPart;
    return count.QuadPart / perSecond * 1000 + count.QuadPart % perSecond * 1000 / perSecond;
}

std::string Win32CaseRules::Lowercase(const std::string& text) {
    std::wstring lower = Wide(text);
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return Utf8(lower);
}

// Exact forms only: a character the code page would write as another ("best fit"),
// or as its default "?", has none.
std::optional<std::string> Win32CodePage::FromUtf8(const std::string& utf8) {
    if (text::IsAscii(utf8)) return utf8;
    const std::wstring wide = Wide(utf8);
    const int length = static_cast<int>(wide.size());
    BOOL lacking = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                      /* lpMultiByteStr= */ nullptr, 0,
                                      /* lpDefaultChar= */ nullptr, &lacking);
    if (n <= 0 || lacking) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), n,
                        /* lpDefaultChar= */ nullptr, &lacking);
    if (lacking || ToUtf8(bytes) != utf8) return std::nullopt;
    return bytes;
}

std::string Win32CodePage::ToUtf8(const std::string& bytes) {
    if (text::IsAscii(bytes)) return bytes;
    const int length = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, wide.data(), n);
    return Utf8(wide);
}

void Win32Launcher::Launch(const std::string& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::wstring command = Wide(commandLine);  // CreateProcessW may write to it
    CreateProcessW(/* lpApplicationName= */ nullptr, command.data(),
                   /* lpProcessAttributes= */ nullptr, /* lpThreadAttributes= */ nullptr,
                   /* bInheritHandles= */ FALSE, /* dwCreationFlags= */ 0,
                   /* lpEnvironment= */ nullptr, /* lpCurrentDirectory= */ nullptr, &startup,
                   &process);
    // Not waited for: the handles are let go at once (null when the start failed).
    const ScopedHandle started(process.hProcess), thread(process.hThread);
}

}  // namespace tobla
