#pragma once
#include <windows.h>

#include <string>

#include "core/Interfaces.h"
#include "core/ListControl.h"
#include "platform/win32/Win32ForeignWindows.h"

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

// Lets the thread's pending window events run.
class MessagePumpYielder : public Yielder {
public:
    void YieldEvents() override { PumpPendingMessages(); }
};

std::string WindowTextOf(HWND window);

}  // namespace tobla
