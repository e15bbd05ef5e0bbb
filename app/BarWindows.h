// How copies of the program find one another: by their bar windows. A bar is a top-level window
// titled "Sonobar" (any letter case, hidden ones too) that holds the volume slider (control
// 1006); nothing else counts, not the program's own message box with the same caption nor
// another program's window of that name.
#pragma once

#include <windows.h>

#include <vector>

BOOL IsBarWindow(HWND hWnd);

// Every bar but hWndSelf, the topmost first.
std::vector<HWND> FindOtherBars(HWND hWndSelf);

// The topmost bar that is not hWndSelf; null when there is none.
HWND FindOtherBar(HWND hWndSelf);
