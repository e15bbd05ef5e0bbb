// A top-level window titled and built like a bar, which copies take for the bar of another copy
// (app/BarWindows.h): shared by the tests of the rules between copies and of the bar's restart.
#pragma once

#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

class CStandInBar {
public:
    CStandInBar(int x, int y)
        : m_hWnd(::CreateWindowExA(0, "STATIC", "Sonobar", WS_POPUP, x, y, 160, 33, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr))
    {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        ::CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD, 0, 0, 100, 10, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_VOLUME_SLIDER)),
                          ::GetModuleHandleA(nullptr), nullptr);
    }
    ~CStandInBar() { ::DestroyWindow(m_hWnd); }
    CStandInBar(const CStandInBar&) = delete;
    CStandInBar& operator=(const CStandInBar&) = delete;

    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};
