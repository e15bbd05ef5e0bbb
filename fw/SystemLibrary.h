// Functions asked for by name at run time instead of imported, so that the program still loads
// where a system lacks them (newer than XP) or loads a library only once it needs it.
//
//   using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
//   const auto pfn = FindFunction<GetDpiForWindowFn>(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
//   const CSystemLibrary winmm("winmm.dll");
//   const auto pfnOpen = winmm.Find<decltype(&mixerOpen)>("mixerOpen");   // null when missing
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

// Null when the module is missing or lacks the function.
template <class Function>
Function FindFunction(HMODULE hModule, const char* pszName)
{
    if (hModule == nullptr)
        return nullptr;
    // GetProcAddress answers a generic function pointer; the detour through void (*)() is the one
    // cast between function pointer types that the compiler takes without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

// A library of the system directory, loaded by its full path for as long as this lives.
class CSystemLibrary {
public:
    explicit CSystemLibrary(const char* pszFileName);

    explicit operator bool() const { return static_cast<bool>(m_hModule); }
    template <class Function>
    Function Find(const char* pszName) const
    {
        return FindFunction<Function>(m_hModule.Get(), pszName);
    }

private:
    CScopedLibrary m_hModule;
};
