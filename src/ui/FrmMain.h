#pragma once
#include <windows.h>

#include <string>

#include "chat/ChatRooms.h"
#include "core/PlayLog.h"
#include "core/PollCycle.h"
#include "player/Winamp.h"
#include "platform/win32/Win32ForeignWindows.h"
#include "platform/win32/Win32Services.h"
#include "ui/TrayIcon.h"
#include "ui/Win32Controls.h"

namespace tobla {

// The one window: the live settings, the poll timer, the log and Exit links, and
// the notification-area icon with its menu.
class frmMain : public AnnouncerControls {
public:
    static constexpr const char* kClassName = "Tobla";

    explicit frmMain(HINSTANCE instance, std::string programFolder = ProgramFolder());
    ~frmMain() override;

    // Creates the window and its controls, starts Timer1 and runs the start-up
    // sequence; afterwards the window is visible and the icon is present.
    bool Load();
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
    static LRESULT CALLBACK TemplateEditProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void AddTooltip(HWND control, const char* text);
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    int Px(int twips, bool vertical) const;

    void StartUp();
    void LoadFonts();
    void SelectStoredFont();

    // Handlers.
    void OnCheckClick(int id);
    void SetCheckState(int id, int state);  // raises the click handling on a change
    void OnFontChoice();
    void OnColorChoice();
    void OnTemplateChange();
    void OnTemplateEnter();
    void OnTrayNotify(UINT mouseMessage);
    void OnShowHide();
    void Exit();
    LRESULT ColorStatic(HDC dc, HWND control);

    void SetSwatchColor(COLORREF color);
    void SetTemplateFontFace(const std::string& face);
    std::string Read(const char* key);
    void Write(const char* key, const std::string& value);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HMENU menu_ = nullptr;
    HFONT windowFont_ = nullptr, tahomaFont_ = nullptr, smallFont_ = nullptr,
          templateFont_ = nullptr;
    HBRUSH swatchBrush_ = nullptr;
    int dpiX_ = 96, dpiY_ = 96;
    COLORREF swatchColor_;
    COLORREF templateTextColor_;
    COLORREF lastConfirmedColor_ = 0;
    COLORREF customColors_[16] = {};
    WNDPROC templateEditBase_ = nullptr;
    UINT taskbarCreated_ = 0;

    std::string programFolder_, settingsFile_, templateListFile_;
    Win32ForeignWindows windows_;
    Win32Settings settings_;
    Win32FileSystem files_;
    Win32Clock clock_;
    Win32Launcher launcher_;
    MessagePumpYielder yielder_;
    WinampPlayer player_{windows_};
    ClientChatTargets chat_{windows_};
    PlayLogFile playLog_;
    LogCommands logCommands_;
    PollCycle cycle_;
    ComboList fontList_, templateList_;
    TrayIcon tray_;
};

}  // namespace tobla
