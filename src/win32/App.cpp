#include "win32/App.h"

#include "core/Settings.h"

namespace tobla {

App::App(HINSTANCE instance, std::string programFolder)
    : programFolder_(std::move(programFolder)),
      playLog_(programFolder_, files_, codePage_, clock_),
      logCommands_(programFolder_, files_, clock_, launcher_, windows_),
      form_(instance, {programFolder_, settings_, files_, codePage_, windows_, cases_, player_,
                       logCommands_, pump_}),
      cycle_({player_, aolRoom_, aimWindow_, settings_, playLog_, form_, windows_, clock_},
             InFolder(programFolder_, kSettingsFileName)) {}

}  // namespace tobla
