#include "draw/AboutBox.h"

BOOL CAboutBox::OnInitDialog()
{
    CDialog::OnInitDialog();

    // Centred by the client size, not the window size, so the box sits half its caption and
    // frame lower and to the right of the exact centre.
    RECT rectClient;
    ::GetClientRect(m_hWnd, &rectClient);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - rectClient.right) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - rectClient.bottom) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return TRUE;
}
