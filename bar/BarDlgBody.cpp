// The mouse on the bar's body, around its controls: a press drags the bar, a double click hides
// it in the tray, the right button opens the menu.
#include "bar/BarDlg.h"

LRESULT CBarDlg::OnLButtonDown(WPARAM, LPARAM)
{
    // A press on the body drags the bar as a press on a caption would: SC_MOVE with the
    // caption's hit-test code in its low bits starts the system's mouse move. Posted, so that
    // this press has been handled before the move captures the mouse.
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return 0;
}

LRESULT CBarDlg::OnLButtonDblClk(WPARAM, LPARAM)
{
    HideToTray();
    return 0;
}

LRESULT CBarDlg::OnRButtonDown(WPARAM, LPARAM)
{
    // Where the pointer is now, which may differ from where the press was made.
    POINT pt{};
    ::GetCursorPos(&pt);
    ShowPopupMenu(pt, TPM_LEFTALIGN);
    return 0;
}
