#include "draw/Border.h"

#include "fw/ScopedHandles.h"

void Draw3dFrame(HDC hDC, RECT& rect, int nCount)
{
    const CScopedPen penShadow(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    const CScopedPen penHighlight(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT)));
    // Declared after the pens: the original pen is back in the DC before they are deleted.
    const CSelectObject selectPen(hDC, penHighlight.Get());

    // LineTo leaves out its end point, hence the top - 1 that carries the right line up to
    // the top row.
    for (int i = 0; i < nCount; ++i) {
        ::SelectObject(hDC, penHighlight.Get());
        ::MoveToEx(hDC, rect.left, rect.top, nullptr);
        ::LineTo(hDC, rect.left, rect.bottom);
        ::MoveToEx(hDC, rect.left, rect.top, nullptr);
        ::LineTo(hDC, rect.right, rect.top);

        ::SelectObject(hDC, penShadow.Get());
        ::MoveToEx(hDC, rect.left + 1, rect.bottom - 1, nullptr);
        ::LineTo(hDC, rect.right, rect.bottom - 1);
        ::MoveToEx(hDC, rect.right, rect.bottom - 1, nullptr);
        ::LineTo(hDC, rect.right, rect.top - 1);

        ::InflateRect(&rect, -1, -1);
    }
}

void DrawBorder(HDC hDC, const RECT& rectClient, int nScale)
{
    RECT rect = rectClient;
    Draw3dFrame(hDC, rect, kBorderDepth * nScale);
    RECT rectOutline = rectClient;
    for (int i = 0; i < nScale; ++i) {
        ::FrameRect(hDC, &rectOutline, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&rectOutline, -1, -1);
    }
}
