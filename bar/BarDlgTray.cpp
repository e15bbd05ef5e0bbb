// The bar in the notification area: hiding it there and bringing it back, the icon's picture, the
// mouse on the icon, and a shell that restarts.
#include "bar/BarDlg.h"

#include "bar/TrayIcon.h"
#include "fw/ResourceString.h"
#include "res/resource.h"

void CBarDlg::HideToTray()
{
    EndKeyDisplay();
    ::ShowWindow(m_hWnd, SW_HIDE);
    m_pTrayIcon->Add();
}

void CBarDlg::RestoreFromTray()
{
    // The platform's restore comes here too, for a bar that another program minimised, and a bar
    // in view for its keys stays.
    EndKeyDisplay();
    ::ShowWindow(m_hWnd, ::IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
    m_pTrayIcon->Remove();
}

void CBarDlg::ShowMuteInTray(BOOL bMuted)
{
    // The record keeps the picture even while the bar is shown, so the next Add shows it.
    m_pTrayIcon->Modify(TrayPicture(*this, bMuted), LoadResourceString(IDS_APP_TITLE).c_str());
}

LRESULT CBarDlg::OnTrayNotify(UINT, UINT nEvent)
{
    switch (nEvent) {
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        // Not on the press: the bar comes back when the button is released over the icon.
        RestoreFromTray();
        break;
    case WM_RBUTTONDOWN: {
        // The icon sits at the screen's edge; the menu opens with its right edge at the pointer.
        POINT pt{};
        ::GetCursorPos(&pt);
        ShowPopupMenu(pt, TPM_RIGHTALIGN);
        break;
    }
    case WM_MBUTTONUP:
        // The middle button mutes as volume icons elsewhere do, on release like the left one;
        // a line without a mute control (its button disabled) has nothing to toggle.
        if (::IsWindowEnabled(m_btnMute.m_hWnd))
            OnMuteButton();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CBarDlg::OnTaskbarCreated()
{
    // A restarted shell has forgotten every icon; a bar hidden in the tray (or in view only for
    // its keys) would be lost.
    if (!::IsWindowVisible(m_hWnd) || m_bShownForKeys)
        m_pTrayIcon->Add();
    return 0;
}
