// Where a bar opens on the screen: in the column of a bar already running, and always where the
// user can see it.
#pragma once

#include <windows.h>

#include <vector>

// One display: its whole area and its work area (the part that the taskbar leaves).
struct SMonitorArea {
    RECT rcMonitor;
    RECT rcWork;
};

// The place of a later copy's bar, as tall and wide as rcAnchor (the bar it opens beside), left
// edges aligned: the first place in the anchor's column that covers none of vecBars (every other
// bar, the anchor included). The column runs from directly beneath the anchor downward as long as
// a bar fits above rcArea's bottom, then from directly above it upward as long as a bar fits
// below rcArea's top; so a bar at the bottom of rcArea gets its neighbour above. When the column
// is full, the bar goes directly beneath the anchor, or above it when it would not fit beneath.
POINT FirstFreePlace(const RECT& rcAnchor, const std::vector<RECT>& vecBars, const RECT& rcArea);

// Keeps a bar of sizeBar at pt where it can be seen. A coordinate left of or above rcVirtual (all
// monitors together), or beyond its right or bottom edge, becomes 0; then a bar that does not lie
// wholly on one monitor's work area moves fully onto the work area of the monitor that shows most
// of it (of the nearest one when none shows any), moving as little as it can.
POINT KeepOnScreen(POINT pt, SIZE sizeBar, const RECT& rcVirtual,
                   const std::vector<SMonitorArea>& vecMonitors);
