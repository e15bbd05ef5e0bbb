#include "fw/Button.h"

BOOL CButton::OnChildNotify(UINT nMessage, WPARAM, LPARAM lParam, LRESULT& lResult)
{
    if (nMessage != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    lResult = TRUE;
    return TRUE;
}
