// The DPI that a window is drawn for: its monitor's on Windows 10 from 1607 (where a program
// declared aware per monitor gets each monitor's own), the system's everywhere else.
//
//   const UINT nDpi = WindowDpi(m_hWnd);    // 96 on a screen at 100 %, 144 at 150 %
#pragma once

#include <windows.h>

UINT WindowDpi(HWND hWnd);
