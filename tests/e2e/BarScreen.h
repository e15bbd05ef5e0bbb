// A running bar as the user sees it on the screen, for end-to-end tests: where its parts are,
// what its slider and mute button show, whether its tray icon is there, and what the copy wrote
// to the simulated card (its SONOBAR_SIM_LOG).
#pragma once

#include "BarProcess.h"
#include "support/ShellIcon.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

POINT Centre(const RECT& rc);
POINT Offset(POINT pt, int dx, int dy);
// The text in lower case (ASCII letters), for names that Windows compares without regard to case.
std::string Lower(std::string strText);

// Polls until the condition holds; FALSE when it still does not after the time.
bool WaitFor(const std::function<bool()>& condition, DWORD dwMilliseconds = 5000);

// The window of the bar's thread that has the keyboard focus.
HWND FocusOf(HWND hBar);

int SliderPos(HWND hSlider);
// The slider's thumb on the screen.
RECT ThumbRect(HWND hSlider);

// The screen's pixels in a rectangle, top row first.
std::vector<COLORREF> ScreenPixels(const RECT& rc);

// Which row of its strip the mute button shows, read from the screen's pixels.
enum class MuteRow { Dim, Bright };
MuteRow ShownRow(HWND hButton, bool bInput);

// The first values that the copy wrote to a control ("program" lines), in the order of the writes.
std::vector<DWORD> ProgramWrites(const std::string& strLog, DWORD dwControlID);
// The same for the lines of one origin ("program", "driver", "copy").
std::vector<DWORD> LoggedWrites(const std::string& strLog, const char* pszOrigin, DWORD dwControlID);

// A point of the bar's body, above the slider and clear of every control.
POINT BodyPoint(HWND hBar, HWND hSlider);
// Where the first icon of the notification area is on the screen, when one is shown.
std::optional<POINT> FirstTrayIconPoint();

// The copy's open popup menu, or null.
HWND OpenMenuOf(DWORD dwProcessId);
// Opens the bar's menu with a right click on its body and chooses the entry nUp places from its
// end with the Up key and Enter; TRUE when the menu opened and closed again.
bool ChooseFromTheEnd(const CBarProcess& bar, int nUp);
// Clicks the bar's tray icon once; FALSE when the bar does not come back.
bool RestoreFromIcon(HWND hBar);
