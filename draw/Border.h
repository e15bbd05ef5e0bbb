// The bar's own bevelled border: the bar has no system frame, so it paints a raised edge four
// pixels deep and a black outline around its client area.
//
//   RECT rc;
//   ::GetClientRect(hWnd, &rc);
//   DrawBorder(hPaintDC, rc, 1);    // 2 on a fine screen: every line two pixels wide
#pragma once

#include <windows.h>

// A raised edge of nCount one-pixel steps inside rect, highlight on the top and left, shadow on
// the bottom and right; rect is shrunk by nCount pixels on every side. The shadow's right line
// stands at x = right, one pixel further out than the bottom line's y = bottom - 1, so that the
// outermost right line falls outside the rectangle.
void Draw3dFrame(HDC hDC, RECT& rect, int nCount);

// How many pixels deep the bar's raised edge is.
constexpr int kBorderDepth = 4;

// Draw3dFrame kBorderDepth steps deep on the client rectangle, then a black outline around it;
// with nScale, kBorderDepth times nScale steps and an outline nScale pixels wide, so that the
// border keeps its proportions next to pictures enlarged by that factor.
void DrawBorder(HDC hDC, const RECT& rectClient, int nScale);
