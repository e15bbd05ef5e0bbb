#include "bar/BarDlg.h"

#include "bar/TrayIcon.h"

void CBarDlg::HideToTray()
{
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_pTrayIcon->Add();
}

void CBarDlg::RestoreFromTray()
{
    ::ShowWindow(m_hWnd, SW_SHOW);
    m_pTrayIcon->Remove();
}

LRESULT CBarDlg::OnTrayNotify(WPARAM, LPARAM lParam)
{
    // The bar comes back when the left button is released over the icon (or double-clicks).
    if (lParam == WM_LBUTTONUP || lParam == WM_LBUTTONDBLCLK)
        RestoreFromTray();
    return 0;
}
