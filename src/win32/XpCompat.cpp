// The static thread library of the toolchain calls GetTickCount64, which Windows XP
// lacks: an import of it would keep Tobla.exe from loading there. Its call is bound
// here instead, to the system's GetTickCount64 where there is one and to
// GetTickCount (which wraps after 49.7 days) on XP.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
    using Function = ULONGLONG(WINAPI*)();
    static const auto system = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    return system ? system() : GetTickCount();
}

}  // namespace

extern "C" {
// The import slot the library's call goes through.
__attribute__((used)) ULONGLONG(WINAPI* ImportOfGetTickCount64)() asm("__imp__GetTickCount64@0") =
    &TickCount64;
}
