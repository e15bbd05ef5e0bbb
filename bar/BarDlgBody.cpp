// The mouse on the bar's body, around its controls: a press drags the bar, a double click hides
// it in the tray, the right button opens the menu.
#include "bar/BarDlg.h"

LRESULT CBarDlg::OnLButtonDown()
{
    // A press on the body drags the bar as a press on a caption would: SC_MOVE with the
    // caption's hit-test code in its low bits starts the system's mouse move. Posted, so that
    // this press has been handled before the move captures the mouse.
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return 0;
}

LRESULT CBarDlg::OnLButtonDblClk()
{
    HideToTray();
    return 0;
}

LRESULT CBarDlg::OnRButtonDown()
{
    // Where the pointer is now, which may differ from where the press was made.
    POINT pt{};
    ::GetCursorPos(&pt);
    ShowPopupMenu(pt, TPM_LEFTALIGN);
    return 0;
}
