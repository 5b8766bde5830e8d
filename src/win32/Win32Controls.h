#pragma once
#include <windows.h>

#include <string>

#include "core/Interfaces.h"

// Small wrappers over the Win32 calls the window makes again and again.
namespace tobla {

// The drop-down list of a combo box as a list control.
class ComboList : public ListControl {
public:
    void Attach(HWND combo) { combo_ = combo; }
    int Count() override;
    std::string Entry(int index) override;
    void Append(const std::string& text) override;
    void Remove(int index) override;

private:
    HWND combo_ = nullptr;
};

// Appends to the list every face the system has for display, in the system's order,
// once however many character sets it covers.
void AppendFontFaces(ListControl& list, HWND window);

// The text of one of the program's own windows, in UTF-8 both ways.
std::string WindowTextOf(HWND window);
void SetWindowTextOf(HWND window, const std::string& text);

// A check box's state (BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE), and setting
// it without a notification.
int CheckState(HWND box);
void Check(HWND box, int state);

// Keeps the window above all ordinary windows.
void SetTopmost(HWND window);

// Hands a control's messages to `procedure`, which passes on what it does not take
// with CallOwnProcedure. Each control keeps its own procedure (in its user data), so
// controls of different classes can share one `procedure`.
void Subclass(HWND control, WNDPROC procedure);
LRESULT CallOwnProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// The screen's pixels per inch, asked once for the run: twips (1440 an inch) to pixels
// across and down, and the height of a font of a given size.
struct Dpi {
    int x = 96, y = 96;

    static Dpi OfScreen();
    int PixelsAcross(int twips) const { return MulDiv(twips, x, 1440); }
    int PixelsDown(int twips) const { return MulDiv(twips, y, 1440); }
    // Sizes in hundredths of a point; negative: the height of the characters, not the cell.
    int FontHeight(int hundredthsOfPoint) const { return -MulDiv(hundredthsOfPoint, y, 7200); }
};

}  // namespace tobla
