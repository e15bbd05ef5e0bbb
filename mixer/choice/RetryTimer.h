// CRetryTimer calls an action every few seconds on the thread that made it, from that thread's
// message loop (a modal loop's included), until the action answers true or the timer goes.
#pragma once

#include "fw/ScopedHandles.h"

#include <windows.h>

#include <functional>

class CRetryTimer {
public:
    CRetryTimer(UINT nMilliseconds, std::function<bool()> tryAgain);
    CRetryTimer(const CRetryTimer&) = delete;
    CRetryTimer& operator=(const CRetryTimer&) = delete;

private:
    static void CALLBACK OnTimer(HWND hWnd, UINT uMsg, UINT_PTR idEvent, DWORD dwTime);

    const std::function<bool()> m_tryAgain;
    // A message-only window owns the timer, so that the timer's id can name this object.
    const CScopedHandle<HWND, CReleaseWith<&::DestroyWindow>> m_hWnd;
};
