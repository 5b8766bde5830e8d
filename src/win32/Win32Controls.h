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

// The text of one of the program's own windows.
std::string WindowTextOf(HWND window);

// A check box's state (BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE), and setting
// it without a notification.
int CheckState(HWND box);
void Check(HWND box, int state);

// The screen's device context, released when it goes out of scope.
class ScreenDC {
public:
    ScreenDC() : dc_(GetDC(/*hWnd=*/nullptr)) {}
    ~ScreenDC() { ReleaseDC(/*hWnd=*/nullptr, dc_); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    operator HDC() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace tobla
