// The bar at the screen's DPI: the template's layout, taken once, fitted to the pictures
// enlarged for that DPI, and fitted again when the bar moves to a monitor of another DPI.
#include "bar/BarDlg.h"

#include "draw/PictureScale.h"
#include "fw/WindowDpi.h"

namespace {

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND hChild)
{
    RECT rc{};
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void PlaceChild(HWND hChild, const RECT& rc)
{
    ::SetWindowPos(hChild, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void CBarDlg::TakeTemplateLayout()
{
    RECT rcClient{};
    ::GetClientRect(m_hWnd, &rcClient);
    m_layoutTemplate = {SIZE{rcClient.right, rcClient.bottom}, ChildRect(m_btnMenu.m_hWnd),
                        ChildRect(m_sliderVolume.m_hWnd), ChildRect(m_btnMute.m_hWnd)};
    m_nTemplateDpi = WindowDpi(m_hWnd);
}

void CBarDlg::LayOut(UINT nDpi)
{
    m_nPictureScale = PictureScale(nDpi);
    const SBarLayout layout =
        FitPictures(ScaleLayout(m_layoutTemplate, m_nTemplateDpi, nDpi), kStripTileSize, m_nPictureScale);
    PlaceChild(m_btnMenu.m_hWnd, layout.rcMenuButton);
    PlaceChild(m_sliderVolume.m_hWnd, layout.rcSlider);
    PlaceChild(m_btnMute.m_hWnd, layout.rcMuteButton);
    m_sliderVolume.SetThumbLength(ThumbLength(layout.rcSlider.bottom - layout.rcSlider.top));
    m_btnMenu.SetScale(m_nPictureScale);
    m_btnMute.SetScale(m_nPictureScale);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, layout.sizeBar.cx, layout.sizeBar.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CBarDlg::OnDpiChanged(UINT nDpi, const RECT& rcSuggested)
{
    // Moved to a monitor of another DPI (Windows 10, aware per monitor). The system suggests a
    // rectangle scaled from the old one; the bar takes its corner and knows its own size.
    LayOut(nDpi);
    ::SetWindowPos(m_hWnd, nullptr, rcSuggested.left, rcSuggested.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}
