// The conversions between a volume control's values, its steps and the bar's slider positions.
// A packed steps value holds the first (left, or only) channel's level in its low 16 bits and
// the second (right) channel's level in its high 16 bits.
//
// Every conversion is safe for a control that reports 0 steps or a maximum of 0 (it yields 0)
// and for maxima above 0xFFFF (64-bit intermediates, no wrap-around). A control that reports more
// steps than a packed half can hold counts as having 0xFFFF steps in every conversion, so that
// its full volume is a full level.
#pragma once

#include <windows.h>

// The step count that the conversions use for a control's cSteps: at most 0xFFFF.
DWORD LevelSteps(DWORD cSteps);

// A control value as a level in steps, rounded to the nearest step with exact halves going up,
// and never above the step count.
DWORD ValueToLevel(DWORD dwValue, DWORD cSteps, DWORD dwMaximum);

// A level in steps as a control value: level x maximum / steps, truncated. A level above the
// step count is full volume.
DWORD LevelToValue(DWORD dwLevel, DWORD cSteps, DWORD dwMaximum);

// A channel's value once the loudest channel of its line goes from dwLoudestBefore to dwLoudest:
// the same ratio to the loudest as before, rounded to the nearest value with halves going up. A
// line that was silent has no ratio to keep, so every channel takes dwLoudest.
DWORD KeepRatio(DWORD dwValue, DWORD dwLoudestBefore, DWORD dwLoudest);

// Slider position of a packed steps value: the louder half on a line of two or more channels,
// otherwise the low half, scaled to 0..nRangeMax and truncated.
UINT StepsToPosition(DWORD dwSteps, UINT nChannels, DWORD cSteps, UINT nRangeMax);

// Packed steps value of a slider position, truncated; a line of two or more channels gets the
// level in both halves.
DWORD PositionToSteps(UINT nPosition, UINT nChannels, DWORD cSteps, UINT nRangeMax);
