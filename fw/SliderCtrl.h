// CSliderCtrl: a trackbar bound to a template control.
#pragma once

#include "fw/Wnd.h"

#include <commctrl.h>

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        ::SendMessageA(m_hWnd, TBM_SETRANGE, bRedraw, MAKELPARAM(nMin, nMax));
    }
    void SetTicFreq(int nFreq) { ::SendMessageA(m_hWnd, TBM_SETTICFREQ, nFreq, 0); }
    int GetRangeMin() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMIN, 0, 0)); }
    int GetRangeMax() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETRANGEMAX, 0, 0)); }
    int GetLineSize() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETLINESIZE, 0, 0)); }
    int GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }
    // The thumb's length across the channel; the trackbar takes it only with TBS_FIXEDLENGTH.
    void SetThumbLength(int nLength) { ::SendMessageA(m_hWnd, TBM_SETTHUMBLENGTH, nLength, 0); }
    // Moves the thumb without notifying the parent.
    void SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
};
