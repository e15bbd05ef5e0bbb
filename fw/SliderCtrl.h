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
};
