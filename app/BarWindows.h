// How copies of the program find one another: by their bar windows. A bar is a top-level window
// titled "Sonobar" (any letter case, hidden ones too) that holds the volume slider (control
// 1006); nothing else counts, not the program's own message box with the same caption nor
// another program's window of that name. A bar that stands in its place also tells which card
// and side it drives, so that a request for that card and side can show it instead of starting
// another.
#pragma once

#include "app/InstanceRole.h"

#include <windows.h>

#include <vector>

BOOL IsBarWindow(HWND hWnd);

// Every bar but hWndSelf, the topmost first.
std::vector<HWND> FindOtherBars(HWND hWndSelf);

// The card and side that hBar drives, told to other copies from when the bar stands in its place
// until it goes (WithdrawBarRole, before its window is destroyed).
void PublishBarRole(HWND hBar, const SInstanceRole& role);
void WithdrawBarRole(HWND hBar);

// The topmost bar of any copy, this one's included, that drives the role's card and side; null
// when none does.
HWND FindBarFor(const SInstanceRole& role);

// Shows the bar of any copy as its tray icon would, when it is hidden there, and brings it to the
// front. A copy that does not answer is left as it is.
void ShowBar(HWND hBar);
