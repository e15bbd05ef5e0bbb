#include "app/BarWindows.h"

#include "fw/ResourceString.h"
#include "res/resource.h"

#include <string>

HWND FindOtherBar(HWND hWndSelf)
{
    const std::string strTitle = LoadResourceString(IDS_APP_TITLE);
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, nullptr, strTitle.c_str())) != nullptr) {
        if (hWnd != hWndSelf)
            return hWnd;
    }
    return nullptr;
}
