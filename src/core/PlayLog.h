#pragma once
#include <functional>
#include <map>
#include <string>

#include "core/Interfaces.h"

namespace tobla {

inline constexpr const char* kNoLogFound = "No Log Found!";
inline constexpr const char* kNoLogsAtAll = "Empty!";
inline constexpr const char* kViewTodaysLogCaption = "View Today's Log";
inline constexpr const char* kAllLogsCaption = "All Logs";

namespace toolkit {
// Returns after about n seconds (also across midnight), letting events run.
void WaitSeconds(int seconds, Clock& clock, Yielder& yielder);
// programFolder + "\logs\played " + short date with "/" as ";" + ".log"
std::string TodayLogPath(const std::string& programFolder, Clock& clock);
}  // namespace toolkit

// The daily play log beside the program: one line per announced track.
class PlayLogFile : public PlayLog {
public:
    PlayLogFile(std::string programFolder, FileSystem& files, CodePage& codePage, Clock& clock)
        : folder_(std::move(programFolder)), files_(files), codePage_(codePage), clock_(clock) {}
    void AppendPlayLog(const std::string& title) override;

private:
    void WriteWaitingLines();

    std::map<std::string, std::string> waiting_;  // log file -> lines not yet in it
    std::string folder_;
    FileSystem& files_;
    CodePage& codePage_;
    Clock& clock_;
};

// The two log links: open today's log in the editor, or the logs folder in the
// file browser; with nothing to open the label shows a notice for about a second.
class LogCommands {
public:
    using SetCaption = std::function<void(const std::string&)>;
    LogCommands(std::string programFolder, FileSystem& files, Clock& clock, Launcher& launcher,
                Yielder& yielder)
        : folder_(std::move(programFolder)),
          files_(files),
          clock_(clock),
          launcher_(launcher),
          yielder_(yielder) {}
    void ViewTodaysLog(const SetCaption& setLabel5Caption);
    void ViewAllLogs(const SetCaption& setLabel7Caption);

private:
    std::string folder_;
    FileSystem& files_;
    Clock& clock_;
    Launcher& launcher_;
    Yielder& yielder_;
};

}  // namespace tobla
