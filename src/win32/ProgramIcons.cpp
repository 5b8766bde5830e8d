#include "win32/ProgramIcons.h"

#include "win32/ControlIds.h"

namespace tobla {
namespace {

HICON LoadProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_TOBLA), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric),
                                         GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

}  // namespace

ProgramIcons::ProgramIcons(HINSTANCE instance)
    : large_(LoadProgramIcon(instance, SM_CXICON, SM_CYICON)),
      small_(LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON)) {}

}  // namespace tobla
