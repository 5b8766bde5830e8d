#pragma once
#include <windows.h>

#include <type_traits>

// The system functions Tobla.exe does not import, because Windows XP lacks them or
// because most runs never need their DLL, are looked up at run time.
namespace tobla {

// `Function` names the SDK's own declaration, which gives the pointer its type: a
// lookup cannot disagree with the declaration on the signature. Naming it in a
// template argument does not make the exe import it. Null where the DLL lacks it.
template <auto& Function>
auto* SystemFunction(HMODULE library, const char* name) {
    using Pointer = std::remove_reference_t<decltype(Function)>*;
    return library
               ? reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(library, name)))
               : nullptr;
}

// Loads a DLL of the system folder by its full path, never from another folder.
HMODULE LoadSystemLibrary(const char* name);

// Takes the program folder and the current folder out of the search for the DLLs the
// program loads from now on (see the definition for what that covers).
void KeepDllSearchToTheSystem();

}  // namespace tobla
