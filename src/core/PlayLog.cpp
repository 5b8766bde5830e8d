#include "core/PlayLog.h"

#include <iterator>

#include "core/Numbers.h"
#include "core/TextFile.h"
#include "core/OperationFailed.h"

namespace tobla {

namespace {

constexpr const char* kLogsFolder = "\\logs";
constexpr const char* kLogFilePrefix = "\\logs\\played ";
constexpr const char* kLogFileSuffix = ".log";
constexpr const char* kPieceSeparator = " / ";
constexpr const char* kEditorCommand = "notepad ";
constexpr const char* kBrowserCommand = "explorer ";
constexpr std::int64_t kMillisecondsPerSecond = 1000;
constexpr std::int64_t kMillisecondsPerDay = 86400 * kMillisecondsPerSecond;
// The clock restarts at 0 at midnight: a step back of more than half a day is that
// restart. A smaller one is the clock set back a little, and counts as no time.
constexpr std::int64_t kMidnightStepBack = kMillisecondsPerDay / 2;

std::string LogPathForDate(const std::string& programFolder, std::string date) {
    for (char& c : date)
        if (c == '/') c = ';';
    return programFolder + kLogFilePrefix + date + kLogFileSuffix;
}

}  // namespace

namespace toolkit {

// Counts the time waited from the start reading rounded to the whole second, adding
// each forward step of the clock, so the wait ends after about n seconds across
// midnight and is not cut short (nor made endless) by a clock set back meanwhile.
void WaitSeconds(int seconds, Clock& clock, Yielder& yielder) {
    std::int64_t reading = clock.MillisecondsSinceMidnight();
    std::int64_t waited =
        reading - DivideHalfEven(reading, kMillisecondsPerSecond) * kMillisecondsPerSecond;
    while (waited < seconds * kMillisecondsPerSecond) {
        Guarded([&] { yielder.YieldEvents(); });
        const std::int64_t next = clock.MillisecondsSinceMidnight();
        std::int64_t step = next - reading;
        if (step < -kMidnightStepBack) step += kMillisecondsPerDay;
        if (step > 0) waited += step;
        reading = next;
    }
}

std::string TodayLogPath(const std::string& programFolder, Clock& clock) {
    return LogPathForDate(programFolder, clock.ShortDate());
}

}  // namespace toolkit

// Appends instead of rewriting the file, so a crash, a full disk or a locked file
// never costs the lines already logged; only the line that turns the day's log into
// UTF-8 rewrites it, beside the old file. The date is read once, so a line written
// at midnight lands in the file of the date it carries.
void PlayLogFile::AppendPlayLog(const std::string& title) {
    Guarded([&] {
        const std::string logs = folder_ + kLogsFolder;
        if (!files_.FileExists(logs)) files_.CreateFolder(logs);
    });
    Guarded([&] {
        const std::string date = clock_.ShortDate();
        waiting_[LogPathForDate(folder_, date)] +=
            date + kPieceSeparator + clock_.LongTime() + kPieceSeparator + title + "\r\n";
    });
    WriteWaitingLines();
}

// A line that cannot be written now (its file held by another program, say) is not
// lost: it waits and goes out, in its order, with the next line.
void PlayLogFile::WriteWaitingLines() {
    for (auto file = waiting_.begin(); file != waiting_.end();) {
        bool written = false;
        Guarded([&] { written = AppendTextLines(file->first, file->second, files_, codePage_); });
        file = written ? waiting_.erase(file) : std::next(file);
    }
}

namespace {

// Shows the notice for about a second; the label's own caption comes back even
// when the wait fails.
void ShowNotice(const LogCommands::SetCaption& setCaption, const char* notice, const char* caption,
                Clock& clock, Yielder& yielder) {
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
