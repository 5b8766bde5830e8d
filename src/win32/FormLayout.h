#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "win32/Scoped.h"
#include "win32/Win32Controls.h"

// The window's layout: one table of its controls, measured in twips (1440 an inch) as
// the window was designed, placed at the screen's DPI, with their fonts, inks and
// tooltips.
namespace tobla {

inline constexpr int kClientWidthTwips = 5850, kClientHeightTwips = 1635;

enum class ControlKind { Button, Static, ComboBox };
enum class FontKind { Window, Tahoma, TahomaSmall };
enum class Ink { Standard, Blue, Black };
// What a click on a control does: the links and the colour swatch answer one.
enum class Click { None, ChooseColor, ViewTodaysLog, ViewAllLogs, Exit };

// One control of the window: where it goes, how it looks, and what a click on it does.
struct ControlLayout {
    struct Twips {
        int left, top, width, height;
    };
    int id;
    ControlKind kind;
    const char* text;  // UTF-8, as every text of the program
    DWORD style;
    Twips place;  // in the window, or in Frame1 when inFrame
    bool inFrame = false;
    FontKind font = FontKind::Tahoma;
    Ink ink = Ink::Standard;
    const char* tooltip = nullptr;
    Click onClick = Click::None;
};

// The table, in tab order; the window's z-order follows it.
std::span<const ControlLayout> LayoutTable();
Click ClickOf(int id);

// The table's fonts at a DPI: bold, 8.25 pt but the small one.
class LayoutFonts {
public:
    LayoutFonts() = default;
    explicit LayoutFonts(const Dpi& dpi);
    HFONT Of(FontKind kind) const;

private:
    ScopedFont window_, tahoma_, small_;
};

// Makes the window's controls and gives them their fonts and inks. First each control
// of the table, with its font; the ones that answer a click take the keyboard. Then,
// once the window has subclassed what it watches, the tooltips, which subclass the
// controls in their turn.
class FormLayout {
public:
    void CreateControls(HWND window, HINSTANCE instance, const Dpi& dpi);
    void AddTooltips();

    // The colour chosen for the AOL line: the swatch shows it, the template box's text
    // takes it. Until then the swatch has the window colour, the text the window text's.
    void ShowChosenColor(COLORREF color);
    // The template box's font in the face the font list names: its size and weight stay.
    void SetTemplateFace(const std::string& face);

    // The window's answers to the controls' requests for their inks.
    static LRESULT OnControlColor(HDC dc, HWND control);
    LRESULT OnTemplateColor(HDC dc) const;
    void OnDrawSwatch(const DRAWITEMSTRUCT& item) const;

private:
    void CreateControl(const ControlLayout& layout, HINSTANCE instance);

    HWND window_ = nullptr;
    Dpi dpi_;
    LayoutFonts fonts_;
    ScopedFont templateFont_;  // the face chosen in the font list
    ScopedBrush swatchBrush_;
    COLORREF templateTextColor_ = GetSysColor(COLOR_WINDOWTEXT);
    HWND tooltip_ = nullptr;  // the window's, which destroys it
};

}  // namespace tobla
