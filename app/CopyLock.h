// CCopyLock: the one lock that all copies of the program share (a named mutex of the logon
// session). Copies hold it while they do what must not interleave with another copy doing the
// same: the first-copy test, the counter's raise and the placement of a starting bar; the
// counter's drop when one leaves; a device change's "am I the last one" and the bar's end.
//
//   { const CCopyLock lock; WriteSetting(IDS_INSTANCE_COUNT, ReadSetting(...) - 1); }
//
// A start holds it across two layers, from the first-copy test in start-up until the bar stands
// in its place: BeginCopyStart and EndCopyStart.
#pragma once

#include "fw/ScopedHandles.h"

class CCopyLock {
public:
    // Waits for the lock, though not for ever: a copy that hangs while holding it must not stop
    // every other copy, so after a few seconds this goes on without it.
    CCopyLock();
    ~CCopyLock();
    CCopyLock(const CCopyLock&) = delete;
    CCopyLock& operator=(const CCopyLock&) = delete;

    BOOL IsHeld() const { return m_bHeld; }

private:
    CScopedKernelHandle m_hMutex;
    BOOL m_bHeld = FALSE;
};

// Takes the lock for this copy's start; EndCopyStart gives it back (and does nothing when it is
// not held), so a start that fails on the way can call it again safely.
void BeginCopyStart();
void EndCopyStart();
