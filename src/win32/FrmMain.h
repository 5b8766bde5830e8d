#pragma once
#include <windows.h>

#include <string>

#include "core/Interfaces.h"
#include "core/PlayLog.h"
#include "core/PollCycle.h"
#include "core/WindowSettings.h"
#include "win32/ColorChooser.h"
#include "win32/FormLayout.h"
#include "win32/MessagePump.h"
#include "win32/ProgramIcons.h"
#include "win32/TrayIcon.h"
#include "win32/Win32Controls.h"

namespace tobla {

// The one window: the live settings, the poll timer, the log and Exit links, and
// the notification-area icon with its menu. It builds no services: the program's
// composition root (App) hands it what it uses.
class frmMain : public AnnouncerControls {
public:
    static constexpr const wchar_t* kClassName = L"Tobla";

    // What the window's start-up and handlers use, built elsewhere.
    struct Services {
        std::string programFolder;
        SettingsStore& settings;
        FileSystem& files;
        CodePage& codePage;
        Yielder& yielder;
        CaseRules& cases;
        PlayerFacts& player;
        LogCommands& logCommands;
        MessagePump& pump;  // given the window, for its keyboard navigation
    };

    frmMain(HINSTANCE instance, Services services);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Creates the window and its controls, starts Timer1, whose ticks run the poll
    // cycle, and runs the start-up sequence; afterwards the window is visible and
    // the icon is present.
    bool Load(PollCycle& cycle);
    HWND Window() const { return window_; }

    // What the poll cycle reads and sets.
    bool AolTicked() override;
    bool AimTicked() override;
    std::string FontFace() override;
    std::string TemplateText() override;
    void SetTemplateText(const std::string& text) override;
    void ShowLastTitle(const std::string& title) override;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CheckBoxProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool RegisterAndCreateWindow();
    void WatchControls();
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    // Start-up.
    void StartUp();
    void LoadStoredColor();
    void LoadStoredCheckState(int id, const char* key);
    void LoadStoredTemplate();
    void SelectStoredFont();
    void LoadTemplateList();

    // Messages.
    void OnCommand(int id, int code);
    void OnTrayNotify(UINT mouseMessage);
    bool OnActivate(WORD state);
    bool OnSysCommand(WPARAM command);
    void OnSize(WPARAM kind);
    void OnEndSession(bool ending);

    // Handlers of the controls and the menu.
    void OnClick(Click click);
    void OnCheckClick(int id);
    void OnFontChoice();
    void OnColorChoice();
    void OnTemplateChange();
    void OnTemplateEnter();
    void OnViewTodaysLog();
    void OnViewAllLogs();
    void OnShowHide();
    void Exit();
    void StopPollingAndRemoveIcon();
    void SaveTemplateList();
    void WriteWaitingChanges();

    HINSTANCE instance_;
    Services services_;
    WindowSettings settings_;
    std::string templateListFile_;
    PollCycle* cycle_ = nullptr;

    HWND window_ = nullptr;
    HWND focusWhenLeft_ = nullptr;
    FormLayout layout_;
    Dpi dpi_;
    ColorChooser colorChooser_;
    bool spaceOnCheckBox_ = false;      // a box's click comes from the keyboard
    bool templateListWaiting_ = false;  // as a setting the file could not take
    UINT taskbarCreated_ = 0;
    ComboList fontList_, templateList_;
    ProgramIcons icons_{instance_};  // outlives the tray icon that shows it
    TrayIcon tray_;
    TrayMenu menu_;
};

}  // namespace tobla
