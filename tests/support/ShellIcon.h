// What the shell shows of a window's tray icon, asked from outside the program that owns it:
// shared by the tests that drive the bar in their own process and those that start copies.
#pragma once

#include "res/resource.h"

#include <windows.h>
#include <shellapi.h>

// Whether the shell shows the bar's tray icon (identifier 128) of that window. Asked for a
// change of nothing, the shell answers whether it has the icon.
inline bool IconShown(HWND hWnd)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hWnd;
    nid.uID = IDI_BAR;
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}
