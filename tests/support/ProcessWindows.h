// The top-level windows of another process, as the end-to-end tests and the start-up benchmark
// look for them from outside.
#pragma once

#include <windows.h>

namespace detail {

struct SWindowSearch {
    DWORD dwProcessId;
    bool bOwnedOnly;
    HWND hWnd;
};

inline BOOL CALLBACK TakeVisibleWindow(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<SWindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId || !::IsWindowVisible(hWnd) ||
        (pSearch->bOwnedOnly && ::GetWindow(hWnd, GW_OWNER) == nullptr))
        return TRUE;
    pSearch->hWnd = hWnd;
    return FALSE;
}

} // namespace detail

// A visible top-level window of the process, or null; with bOwnedOnly one that another of its
// windows owns, such as a message box over the bar.
inline HWND VisibleWindowOf(DWORD dwProcessId, bool bOwnedOnly = false)
{
    detail::SWindowSearch search{dwProcessId, bOwnedOnly, nullptr};
    ::EnumWindows(&detail::TakeVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.hWnd;
}
