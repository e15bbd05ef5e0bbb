// Where a bar opens on the screen.
#pragma once

#include <windows.h>

// A later copy opens directly beneath the bar of an earlier copy, left edges aligned, or
// directly above it when a bar of the same height would reach below the screen's bottom.
POINT PlaceNextTo(const RECT& rcEarlierBar, int nScreenHeight);

// A coordinate below 0 or beyond the screen's size becomes 0; one equal to the size stays.
POINT ClampToScreen(POINT pt, int nScreenWidth, int nScreenHeight);
