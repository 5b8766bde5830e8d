#pragma once
#include <windows.h>

#include "win32/Scoped.h"

namespace tobla {

// The program's icon at the system's two sizes, each the picture drawn for that size
// rather than one picture stretched: the large one for Alt+Tab, the small one for the
// title bar and the notification area (16 px at 96 DPI, 24 px at 144 DPI). Loaded
// without LR_SHARED, whose cache hands back the first size loaded of a resource
// whatever size is asked; so they are owned here, and the holder must outlive the
// window class and the notification-area icon that use them, which live for the run.
class ProgramIcons {
public:
    explicit ProgramIcons(HINSTANCE instance);

    HICON Large() const { return large_.get(); }
    HICON Small() const { return small_.get(); }

private:
    ScopedIcon large_, small_;
};

}  // namespace tobla
