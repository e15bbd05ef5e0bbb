#include "draw/ImageButton.h"

#include "fw/ScopedHandles.h"

int ImageColumn(UINT nItemState, UINT nItemAction)
{
    if (nItemState & ODS_DISABLED)
        return 3;
    // A change of the pressed state: the release keeps the focus look until the focus leaves.
    if (nItemAction & ODA_SELECT)
        return (nItemState & ODS_SELECTED) ? 2 : 1;
    return (nItemState & ODS_FOCUS) ? 1 : 0;
}

bool ShowsFocusCue(UINT nItemState)
{
    return (nItemState & ODS_FOCUS) && !(nItemState & (ODS_DISABLED | ODS_NOFOCUSRECT));
}

const CMessageMapBase* CImageButton::GetMessageMap() const
{
    static const CMessageMap<CImageButton> map{{
        OnMessage(WM_ERASEBKGND, &CImageButton::OnEraseBkgnd),
    }};
    return &map;
}

BOOL CImageButton::SetImage(CMappedBitmap* pBitmap, SIZE sizeImage, int nRow)
{
    m_pBitmap = pBitmap;
    m_nRow = nRow;
    m_sizeImage = sizeImage;
    m_nSrcY = nRow * sizeImage.cy;
    SizeToTile();
    return TRUE;
}

void CImageButton::SetScale(int nScale)
{
    m_nScale = nScale;
    if (m_sizeImage.cx > 0)
        SizeToTile();
}

void CImageButton::SizeToTile()
{
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_sizeImage.cx * m_nScale, m_sizeImage.cy * m_nScale,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT pDrawItem)
{
    DrawImage(pDrawItem->hDC, ImageColumn(pDrawItem->itemState, pDrawItem->itemAction));
    if (ShowsFocusCue(pDrawItem->itemState) && m_sizeImage.cx > 0)
        DrawFocusCue(pDrawItem->hDC);
}

void CImageButton::DrawFocusCue(HDC hDC) const
{
    // Two tile pixels in from the edge: inside the tiles' frames and clear of their glyphs.
    constexpr int kInset = 2;
    const RECT rcCue{kInset, kInset, m_sizeImage.cx - kInset, m_sizeImage.cy - kInset};
    if (m_nScale == 1) {
        ::DrawFocusRect(hDC, &rcCue);
        return;
    }
    // Enlarged, the cue is drawn on the tile at its own size and enlarged with it, so that its
    // dots are blocks like the picture's pixels. The blocks are whole, so taking one pixel of
    // each gives the tile back.
    const int cx = m_sizeImage.cx;
    const int cy = m_sizeImage.cy;
    const CScopedMemoryDC memDC(::CreateCompatibleDC(hDC));
    const CScopedBitmap bmpTile(::CreateCompatibleBitmap(hDC, cx, cy));
    const CSelectObject selectTile(memDC.Get(), bmpTile.Get());
    const int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::SetStretchBltMode(memDC.Get(), COLORONCOLOR);
    ::StretchBlt(memDC.Get(), 0, 0, cx, cy, hDC, 0, 0, cx * m_nScale, cy * m_nScale, SRCCOPY);
    ::DrawFocusRect(memDC.Get(), &rcCue);
    ::StretchBlt(hDC, 0, 0, cx * m_nScale, cy * m_nScale, memDC.Get(), 0, 0, cx, cy, SRCCOPY);
    ::SetStretchBltMode(hDC, nOldMode);
}

void CImageButton::DrawImage(HDC hDC, int nColumn)
{
    if (!m_pBitmap)
        return;
    m_nSrcX = nColumn * m_sizeImage.cx;
    // A strip that failed to load leaves the button blank.
    if (!m_pBitmap->GetSafeHandle())
        return;

    const CScopedMemoryDC memDC(::CreateCompatibleDC(hDC));
    const CSelectObject selectStrip(memDC.Get(), m_pBitmap->GetSafeHandle());
    ::SetMapMode(memDC.Get(), ::GetMapMode(hDC));
    if (m_nScale == 1) {
        ::BitBlt(hDC, 0, 0, m_sizeImage.cx, m_sizeImage.cy, memDC.Get(), m_nSrcX, m_nSrcY, SRCCOPY);
        return;
    }
    // A whole factor without blending: every source pixel becomes one square block.
    const int nOldMode = ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::StretchBlt(hDC, 0, 0, m_sizeImage.cx * m_nScale, m_sizeImage.cy * m_nScale, memDC.Get(), m_nSrcX,
                 m_nSrcY, m_sizeImage.cx, m_sizeImage.cy, SRCCOPY);
    ::SetStretchBltMode(hDC, nOldMode);
}

LRESULT CImageButton::OnEraseBkgnd()
{
    // The tile covers the whole button: erasing first would only make it flicker.
    return TRUE;
}
