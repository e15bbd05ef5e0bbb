// How copies of the program find one another: by the bar window's title.
#pragma once

#include <windows.h>

// A top-level window titled like a bar ("Sonobar", any letter case, hidden ones too) that is
// not hWndSelf; null when there is none.
HWND FindOtherBar(HWND hWndSelf);
