#include "e2e/ToblaProcess.h"

#include "RemoveTree.h"
#include "win32/ControlIds.h"
#include "win32/TrayIcon.h"
#include "win32/WideText.h"

namespace tobla::e2e {
namespace {

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct Search {
    DWORD processId;
    HWND found;
};

std::string ShortDate() {
    char text[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
    return text;
}

BOOL CALLBACK FindToblaWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == "Tobla") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A text read with a W message pair: its length, then the text itself.
std::string WideRead(HWND window, UINT lengthMessage, UINT textMessage, WPARAM index) {
    const LRESULT length = SendMessageW(window, lengthMessage, index, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const WPARAM wParam = textMessage == WM_GETTEXT ? text.size() : index;
    const LRESULT got =
        SendMessageW(window, textMessage, wParam, reinterpret_cast<LPARAM>(text.data()));
    return Utf8(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Pump();
        Sleep(10);
    }
}

bool WaitForPolls(sim::SimWinamp2& player, int polls) {
    const auto answered = [&] {
        int count = 0;
        for (const auto& line : player.Requests().Lines()) count += line == "105 0";
        return count;
    };
    const int seen = answered();
    return WaitUntil([&] { return answered() >= seen + polls; });
}

std::string ToblaExe() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string folder = Utf8(path);
    return folder.substr(0, folder.find_last_of('\\')) + "\\Tobla.exe";
}

std::string TodayLogName() {
    std::string date = ShortDate();
    for (char& c : date)
        if (c == '/') c = ';';
    return "logs\\played " + date + ".log";
}

std::vector<std::string> LoggedTitles(const std::string& log) {
    std::vector<std::string> titles;
    const std::string date = ShortDate() + " / ";
    std::size_t from = log.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    for (std::size_t end; (end = log.find("\r\n", from)) != std::string::npos; from = end + 2) {
        const std::string line = log.substr(from, end - from);
        const std::size_t timeEnd = line.find(" / ", date.size());
        titles.push_back(line.rfind(date, 0) == 0 && timeEnd != std::string::npos
                             ? line.substr(timeEnd + 3)
                             : "malformed: " + line);
    }
    if (from != log.size()) titles.push_back("unterminated: " + log.substr(from));
    return titles;
}

ProgramFolder::ProgramFolder(const std::string& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = Utf8(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    CreateDirectoryW(Wide(path_).c_str(), nullptr);
    CopyFileW(Wide(ToblaExe()).c_str(), Wide(File("Tobla.exe")).c_str(), /*bFailIfExists=*/FALSE);
}

ProgramFolder::~ProgramFolder() {
    sim::RemoveTree(path_);  // leave nothing behind: the program folder and its logs
}

void ProgramFolder::Write(const std::string& name, const std::string& bytes) const {
    const HANDLE file = CreateFileW(Wide(File(name)).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// Shared every way, so that a test reading a file never keeps Tobla from writing,
// replacing or deleting it.
std::string ProgramFolder::Read(const std::string& name) const {
    const HANDLE file = CreateFileW(Wide(File(name)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char chunk[4096];
    for (DWORD got = 0; ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0;)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

bool ProgramFolder::Exists(const std::string& name) const {
    return GetFileAttributesW(Wide(File(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

ToblaProcess::ToblaProcess(const ProgramFolder& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = Wide("\"" + folder.File("Tobla.exe") + "\"");
    // Started from another folder, as from a shortcut: the program finds its own.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        return;
    Search search{process_.dwProcessId, nullptr};
    WaitUntil([&] {
        EnumWindows(&FindToblaWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr && IsWindowVisible(search.found);
    });
    window_ = search.found;
}

ToblaProcess::~ToblaProcess() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

std::string ToblaProcess::Text(int id) const {
    HWND control = Control(id);
    const LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(control, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string ToblaProcess::UnicodeText(int id) const {
    return WideRead(Control(id), WM_GETTEXTLENGTH, WM_GETTEXT, 0);
}

std::vector<std::string> ToblaProcess::ListEntries(int id) const {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(Control(id), CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        entries.push_back(WideRead(Control(id), CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    return entries;
}

int ToblaProcess::CheckState(int id) const {
    return static_cast<int>(SendMessageA(Control(id), BM_GETCHECK, 0, 0));
}

void ToblaProcess::Click(int id) const { SendCommand(id, BN_CLICKED); }

void ToblaProcess::SendCommand(int id, int code) const {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(id)));
}

void ToblaProcess::Type(int id, const std::string& text) const {
    HWND edit = GetWindow(Control(id), GW_CHILD);
    for (unsigned char c : text) PostMessageA(edit, WM_CHAR, c, 1);
}

// As a user types them: a WM_CHAR a UTF-16 unit, so a character of two units comes
// as two.
void ToblaProcess::Type(int id, const std::u16string& units) const {
    HWND edit = GetWindow(Control(id), GW_CHILD);
    for (char16_t unit : units) PostMessageW(edit, WM_CHAR, unit, 1);
}

void ToblaProcess::PressEnter(int id) const {
    HWND edit = GetWindow(Control(id), GW_CHILD);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_CHAR, '\r', 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
}

void ToblaProcess::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageA(window_, message, wParam, lParam);
}

bool ToblaProcess::Settle() const {
    Post(WM_CLOSE, 0, 0);
    const bool handled = WaitUntil([&] { return !Visible(); });
    Post(kTrayCallbackMessage, 1, WM_LBUTTONDBLCLK);
    return handled && WaitUntil([&] { return Visible(); });
}

bool ToblaProcess::RunTicks(int ticks) const {
    for (int i = 0; i < ticks; ++i) Post(WM_TIMER, IDT_TIMER1, 0);
    return Settle();
}

bool ToblaProcess::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ToblaProcess::WaitForExit(DWORD timeoutMs) {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace tobla::e2e
