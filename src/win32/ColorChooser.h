#pragma once
#include <windows.h>

#include <optional>

namespace tobla {

// The system's colour dialog, titled "Choose a Color". It opens on the colour last
// confirmed in it during the run (the program never sets one), and the custom colours
// mixed in it stay for the run.
class ColorChooser {
public:
    // Shows the dialog and waits until it closes: the colour chosen, or none when it
    // was cancelled or could not open.
    std::optional<COLORREF> Choose(HWND owner);

private:
    COLORREF lastConfirmed_ = 0;
    COLORREF customColors_[16] = {};
};

}  // namespace tobla
