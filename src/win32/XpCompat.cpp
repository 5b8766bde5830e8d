// The static thread library of the toolchain calls GetTickCount64, which Windows XP
// lacks: an import of it would keep Tobla.exe from loading there. Its call is bound
// here instead, to the system's GetTickCount64 where there is one and to
// GetTickCount (which wraps after 49.7 days) on XP. This file alone sees the Vista
// declarations, to name GetTickCount64's.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include <windows.h>

#include "win32/SystemLibrary.h"

namespace {

ULONGLONG WINAPI TickCount64() {
    static const auto system =
        tobla::SystemFunction<::GetTickCount64>(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
    return system ? system() : GetTickCount();
}

}  // namespace

extern "C" {
// The import slot the library's call goes through.
__attribute__((used)) decltype(&::GetTickCount64) ImportOfGetTickCount64 asm(
    "__imp__GetTickCount64@0") = &TickCount64;
}
