// Real input and real pictures for end-to-end tests: the test programs run under Wine on an X
// display, and these helpers drive that display from outside with xdotool, as a user's mouse
// and keyboard would, and photograph it with xwd and ImageMagick. Screen coordinates are the
// same on both sides (no window manager moves Wine's windows).
//
//   XClick(ptCentre);                 // left click at a screen point
//   XKeys("alt+m");                   // keys to the window that has the focus
//   XScreenshot(rcBar, "bar.png");    // that part of the screen as a PNG
#pragma once

#include <windows.h>

#include <string>

// Runs a command of the Linux side through /bin/sh and waits for it; TRUE when it exits with 0.
// Its standard output goes to strOutput when given (through a file: Wine's helpers would hold a
// pipe open).
bool RunUnixCommand(const std::string& strCommand, std::string* pstrOutput = nullptr);

// Moves the pointer; presses and releases button 1 (left), 2 (middle) or 3 (right).
bool XMove(POINT pt);
bool XClick(POINT pt, int nButton = 1, int nRepeat = 1);
bool XButtonDown(POINT pt, int nButton = 1);
bool XButtonUp(POINT pt, int nButton = 1);
// Turns the wheel at pt: nNotches > 0 away from the user, < 0 towards the user.
bool XWheel(POINT pt, int nNotches);
// Key names as xdotool knows them ("Escape", "alt+F4", "Page_Up"), separated by blanks.
bool XKeys(const std::string& strKeys);

// A part of the screen as a PNG file; strPath is a Windows path.
bool XScreenshot(const RECT& rcScreen, const std::string& strPath);

// Where screenshots for people go: build/screens/<name>, next to the test programs. The folder
// is created when missing.
std::string ScreenshotPath(const std::string& strName);

// The Linux path of a Windows path (through Wine's Z: drive and winepath's rules).
std::string UnixPath(const std::string& strWindowsPath);
