// Sharp pictures on fine screens. The program's pictures are pixel art drawn for 96 DPI; on a
// finer screen each picture pixel becomes a square block of screen pixels, as many as the whole
// factor nearest to the screen's scale. A fractional, smoothed scaling would blur them.
//
//   const int nScale = PictureScale(WindowDpi(hWnd));   // 1 at 96 and 120 DPI, 2 at 144 and 192
#pragma once

#include <windows.h>

// The DPI that the pictures are drawn for.
constexpr UINT kDesignDpi = 96;

// The whole factor nearest to nDpi / 96, a half rounding up (150 % gives 2), and at least 1.
constexpr int PictureScale(UINT nDpi)
{
    const int nScale = static_cast<int>((nDpi + kDesignDpi / 2) / kDesignDpi);
    return nScale < 1 ? 1 : nScale;
}
