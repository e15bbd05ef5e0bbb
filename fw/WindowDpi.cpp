#include "fw/WindowDpi.h"

#include "fw/ScopedHandles.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up at run time: importing it would keep the program from loading on any Windows
// before 10. GetProcAddress answers a generic function pointer; the detour through void (*)()
// is the one cast between function pointer types that the compiler takes without a warning.
GetDpiForWindowFn FindGetDpiForWindow()
{
    return reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
}

} // namespace

UINT WindowDpi(HWND hWnd)
{
    static const GetDpiForWindowFn pfnGetDpiForWindow = FindGetDpiForWindow();
    if (pfnGetDpiForWindow) {
        const UINT nDpi = pfnGetDpiForWindow(hWnd);
        if (nDpi != 0)
            return nDpi;
    }
    // Before Windows 10 every window of a DPI-aware program has the system's DPI, which the
    // screen's device context reports.
    const CWindowDC screen(nullptr);
    return static_cast<UINT>(::GetDeviceCaps(screen.Get(), LOGPIXELSY));
}
