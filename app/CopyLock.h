// CCopyLock: the one lock that all copies of the program share (a named mutex of the logon
// session), held while the object lives. Copies take turns with it for what must not interleave
// with another copy doing the same: a start up to the moment its bar stands in its place, the
// counter's drop when one leaves, a device change's "am I the last one" and the bar's end.
// CRunningCopies (app/RunningCopies.h) hands it out; it moves, so a start can hand its turn on
// to the bar that ends it.
#pragma once

#include "fw/ScopedHandles.h"

class CCopyLock {
public:
    // Waits for the lock, though not for ever: a copy that hangs while holding it must not stop
    // every other copy, so after a few seconds this goes on without it.
    CCopyLock();

    BOOL IsHeld() const { return static_cast<bool>(m_hMutex); }

private:
    // Only while held.
    CScopedHeldMutex m_hMutex;
};
