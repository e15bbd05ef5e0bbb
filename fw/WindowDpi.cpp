#include "fw/WindowDpi.h"

#include "fw/ScopedHandles.h"
#include "fw/SystemLibrary.h"

UINT WindowDpi(HWND hWnd)
{
    // Looked up at run time: importing it would keep the program from loading on any Windows
    // before 10.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto pfnGetDpiForWindow =
        FindFunction<GetDpiForWindowFn>(::GetModuleHandleA("user32.dll"), "GetDpiForWindow");
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
