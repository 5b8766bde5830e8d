#include "win32/SystemLibrary.h"

#include <string>

namespace tobla {

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryA((std::string(folder, length) + "\\" + name).c_str());
}

// A DLL planted beside Tobla.exe (a Downloads folder) or in the folder it was started
// from must not be loaded in place of a system one. Windows 8 and later (Vista and 7
// with update KB2533623) search the system folder alone; Windows XP SP1 to 7 without
// it can only take out the current folder, the program folder stays first in their
// search. The DLLs the exe imports are loaded before this runs: all are the system's
// known DLLs, except comctl32, which the manifest binds to the system's side-by-side copy.
void KeepDllSearchToTheSystem() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto systemOnly =
        SystemFunction<::SetDefaultDllDirectories>(kernel, "SetDefaultDllDirectories");
    if (systemOnly && systemOnly(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    if (const auto setFolder = SystemFunction<::SetDllDirectoryA>(kernel, "SetDllDirectoryA"))
        setFolder("");  // "" takes the current folder out
}

}  // namespace tobla
