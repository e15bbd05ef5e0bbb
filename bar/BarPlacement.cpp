#include "bar/BarPlacement.h"

POINT PlaceNextTo(const RECT& rcEarlierBar, int nScreenHeight)
{
    const int nHeight = rcEarlierBar.bottom - rcEarlierBar.top;
    if (rcEarlierBar.bottom + nHeight > nScreenHeight)
        return {rcEarlierBar.left, rcEarlierBar.top - nHeight};
    return {rcEarlierBar.left, rcEarlierBar.bottom};
}

POINT ClampToScreen(POINT pt, int nScreenWidth, int nScreenHeight)
{
    if (pt.x > nScreenWidth || pt.x < 0)
        pt.x = 0;
    if (pt.y > nScreenHeight || pt.y < 0)
        pt.y = 0;
    return pt;
}
