#include "core/PlayLog.h"

#include "core/Template.h"
#include "platform/OperationFailed.h"

namespace tobla {

namespace {

constexpr const char* kLogsFolder = "\\logs";
constexpr const char* kLogFilePrefix = "\\logs\\played ";
constexpr const char* kLogFileSuffix = ".log";
constexpr const char* kPieceSeparator = " / ";
constexpr const char* kEditorCommand = "notepad ";
constexpr const char* kBrowserCommand = "explorer ";
constexpr double kSecondsPerDay = 86400.0;

bool IsBlankText(const std::string& text) {
    return toolkit::StripSpaces(text).empty() || text == "\r" || text == "\n" || text == "\r\n";
}

std::string LogPathForDate(const std::string& programFolder, std::string date) {
    for (char& c : date)
        if (c == '/') c = ';';
    return programFolder + kLogFilePrefix + date + kLogFileSuffix;
}

}  // namespace

namespace toolkit {

std::string ReadTextFile(FileSystem& files, const std::string& path) {
    std::optional<std::string> content;
    Guarded([&] { content = files.ReadFile(path); });
    return content.value_or(std::string());
}

void WriteTextFile(FileSystem& files, const std::string& text, const std::string& path) {
    if (IsBlankText(text)) return;
    Guarded([&] { files.WriteFile(path, text + "\r\n"); });
}

// The clock restarts at 0 at midnight; every step backwards is taken as a day
// passed, so the wait always ends (a clock set back by hand ends it early).
void WaitSeconds(int seconds, Clock& clock, Yielder& yielder) {
    double reading = clock.SecondsSinceMidnight();
    const double start = RoundHalfEven32(reading);
    double days = 0;
    while (reading + days - start < seconds) {
        Guarded([&] { yielder.YieldEvents(); });
        const double next = clock.SecondsSinceMidnight();
        if (next < reading) days += kSecondsPerDay;
        reading = next;
    }
}

std::string TodayLogPath(const std::string& programFolder, Clock& clock) {
    return LogPathForDate(programFolder, clock.ShortDate());
}

}  // namespace toolkit

// Appends instead of rewriting the file, so a crash, a full disk or a locked file
// never costs the lines already logged. The date is read once, so a line written
// at midnight lands in the file of the date it carries.
void PlayLogFile::AppendPlayLog(const std::string& title) {
    Guarded([&] {
        const std::string logs = folder_ + kLogsFolder;
        if (!files_.FileExists(logs)) files_.CreateFolder(logs);
    });
    Guarded([&] {
        const std::string date = clock_.ShortDate();
        const std::string line =
            date + kPieceSeparator + clock_.LongTime() + kPieceSeparator + title + "\r\n";
        files_.AppendLine(LogPathForDate(folder_, date), line);
    });
}

namespace {

// Shows the notice for about a second; the label's own caption comes back even
// when the wait fails.
void ShowNotice(const LogCommands::SetCaption& setCaption, const char* notice,
                const char* caption, Clock& clock, Yielder& yielder) {
    Guarded([&] { setCaption(notice); });
    Guarded([&] { toolkit::WaitSeconds(1, clock, yielder); });
    Guarded([&] { setCaption(caption); });
}

}  // namespace

void LogCommands::ViewTodaysLog(const SetCaption& setLabel5Caption) {
    std::string path;
    bool exists = false;
    // A failing existence test shows nothing, like a failing launch.
    if (!Guarded([&] {
            path = toolkit::TodayLogPath(folder_, clock_);
            exists = files_.FileExists(path);
        }))
        return;
    if (exists)
        Guarded([&] { launcher_.Launch(kEditorCommand + path); });
    else
        ShowNotice(setLabel5Caption, kNoLogFound, kViewTodaysLogCaption, clock_, yielder_);
}

void LogCommands::ViewAllLogs(const SetCaption& setLabel7Caption) {
    const std::string folder = folder_ + kLogsFolder + "\\";
    bool exists = false;
    if (!Guarded([&] { exists = files_.FileExists(folder); })) return;
    if (exists)
        Guarded([&] { launcher_.Launch(kBrowserCommand + folder); });
    else
        ShowNotice(setLabel7Caption, kNoLogsAtAll, kAllLogsCaption, clock_, yielder_);
}

}  // namespace tobla
