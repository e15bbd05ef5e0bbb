#include "bar/BarDlg.h"

void CBarDlg::ShowPopupMenu(POINT ptScreen, UINT nAlignFlags)
{
    // A menu whose owner is not the foreground window does not close when the user clicks
    // elsewhere (the tray icon's case); the WM_NULL afterwards lets the shell's next click
    // through instead of dismissing a menu that is already gone.
    ::SetForegroundWindow(m_hWnd);
    // The menu is the window menu, and a choice from a window menu would arrive as WM_SYSCOMMAND,
    // which leaves the bar's own entries to the platform. Taking the choice back and posting it as
    // a command routes every entry, the platform's own included, through the bar's commands.
    const UINT nID =
        static_cast<UINT>(::TrackPopupMenu(m_hMenuPopup, TPM_RIGHTBUTTON | TPM_RETURNCMD | nAlignFlags,
                                           ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr));
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    if (nID != 0)
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}
