#include "bar/BarDlg.h"

void CBarDlg::ShowPopupMenu(POINT ptScreen, UINT nAlignFlags)
{
    // A menu whose owner is not the foreground window does not close when the user clicks
    // elsewhere (the tray icon's case); the WM_NULL afterwards lets the shell's next click
    // through instead of dismissing a menu that is already gone.
    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(m_hMenuPopup, TPM_RIGHTBUTTON | nAlignFlags, ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}
