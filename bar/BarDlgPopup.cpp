// Opening the bar's popup menu: from the menu button, as the context menu of the bar and its
// controls, and from the tray icon (BarDlgTray.cpp); a choice arrives as a command.
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

LRESULT CBarDlg::OnContextMenu(HWND hWnd, POINT pt)
{
    // Shift+F10 and the menu key ask with the point (-1, -1), which is no place on the screen:
    // the menu opens where the menu button opens it, whichever control has the focus.
    if (pt.x == -1 && pt.y == -1) {
        OnMenuButton();
        return 0;
    }
    // The menu button opens the menu with a click; its right click opens nothing.
    if (hWnd == m_btnMenu.m_hWnd)
        return 0;
    ShowPopupMenu(pt, TPM_LEFTALIGN);
    return 0;
}

void CBarDlg::OnMenuButton()
{
    // One pixel below the button, its left edges in line.
    RECT rc{};
    ::GetWindowRect(m_btnMenu.m_hWnd, &rc);
    ShowPopupMenu(POINT{rc.left, rc.bottom + 1}, TPM_LEFTALIGN);
}
