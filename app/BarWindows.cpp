#include "app/BarWindows.h"

#include "fw/ResourceString.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string>

BOOL IsBarWindow(HWND hWnd)
{
    const HWND hSlider = ::GetDlgItem(hWnd, IDC_VOLUME_SLIDER);
    if (!hSlider || ::GetAncestor(hWnd, GA_PARENT) != ::GetDesktopWindow())
        return FALSE;
    char szClass[32] = {};
    ::GetClassNameA(hSlider, szClass, sizeof szClass);
    if (::lstrcmpiA(szClass, TRACKBAR_CLASSA) != 0)
        return FALSE;
    char szTitle[32] = {};
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    return ::lstrcmpiA(szTitle, LoadResourceString(IDS_APP_TITLE).c_str()) == 0;
}

std::vector<HWND> FindOtherBars(HWND hWndSelf)
{
    // FindWindowExA walks the top-level windows in z-order and compares titles as FindWindowA
    // does; the rest of the test is IsBarWindow's.
    const std::string strTitle = LoadResourceString(IDS_APP_TITLE);
    std::vector<HWND> vecBars;
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, nullptr, strTitle.c_str())) != nullptr) {
        if (hWnd != hWndSelf && IsBarWindow(hWnd))
            vecBars.push_back(hWnd);
    }
    return vecBars;
}

HWND FindOtherBar(HWND hWndSelf)
{
    const std::vector<HWND> vecBars = FindOtherBars(hWndSelf);
    return vecBars.empty() ? nullptr : vecBars.front();
}
