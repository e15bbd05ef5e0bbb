#include "app/BarWindows.h"

#include "fw/ResourceString.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string>

namespace {

// The window property that holds a bar's role: side in bit 0, card above it, plus one, so that
// no role reads as 0.
constexpr char kRoleProperty[] = "Quillmark.Sonobar.Role";
// How long a copy may take to answer before it counts as not answering.
constexpr UINT kAnswerLimitMs = 2000;

HANDLE RoleValue(const SInstanceRole& role)
{
    const auto nValue = static_cast<UINT_PTR>(role.nCardIndex) * 2 + (role.bInput ? 1 : 0) + 1;
    return reinterpret_cast<HANDLE>(nValue);
}

} // namespace

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

void PublishBarRole(HWND hBar, const SInstanceRole& role)
{
    ::SetPropA(hBar, kRoleProperty, RoleValue(role));
}

void WithdrawBarRole(HWND hBar)
{
    ::RemovePropA(hBar, kRoleProperty);
}

HWND FindBarFor(const SInstanceRole& role)
{
    for (const HWND hBar : FindOtherBars(nullptr)) {
        if (::GetPropA(hBar, kRoleProperty) == RoleValue(role))
            return hBar;
    }
    return nullptr;
}

void ShowBar(HWND hBar)
{
    // The bar's own Restore command takes it out of the tray, icon and all. Sent, so that it is
    // shown before it comes to the front.
    if (!::IsWindowVisible(hBar)) {
        DWORD_PTR dwResult = 0;
        ::SendMessageTimeoutA(hBar, WM_COMMAND, MAKEWPARAM(SC_RESTORE, 0), 0, SMTO_ABORTIFHUNG,
                              kAnswerLimitMs, &dwResult);
    }
    // The copy that asks has just been used, so it holds the foreground and may hand it on.
    ::SetForegroundWindow(hBar);
}
