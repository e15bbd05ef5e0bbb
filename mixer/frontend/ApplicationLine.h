// The mark of a line that stands for one program's own volume (on Windows Vista and later, an
// application's audio sessions) rather than for an input of the card: such a source line of the
// speakers carries kApplicationLine in MIXERLINE's driver word dwUser. The menu's numbered lines
// leave these lines out; no driver of the program's own uses the word otherwise.
//
// Such a line's Target.dwDeviceID (which names no device for a line without a target) carries the
// program's identity: a number other than 0 that the same program has again when it plays
// another time, also after a restart of Windows, so that a choice of it can be remembered.
#pragma once

#include <windows.h>

constexpr DWORD kApplicationLine = 0x41505031; // "APP1"
