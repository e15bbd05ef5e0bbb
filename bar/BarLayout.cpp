#include "bar/BarLayout.h"

#include "draw/Border.h"

#include <algorithm>

namespace {

RECT ScaleRect(const RECT& rc, UINT nFromDpi, UINT nToDpi)
{
    const auto scale = [&](LONG n) { return static_cast<LONG>(::MulDiv(n, nToDpi, nFromDpi)); };
    return {scale(rc.left), scale(rc.top), scale(rc.right), scale(rc.bottom)};
}

RECT At(LONG x, LONG y, LONG cx, LONG cy)
{
    return {x, y, x + cx, y + cy};
}

} // namespace

SBarLayout ScaleLayout(const SBarLayout& layout, UINT nFromDpi, UINT nToDpi)
{
    const RECT rcBar = ScaleRect(RECT{0, 0, layout.sizeBar.cx, layout.sizeBar.cy}, nFromDpi, nToDpi);
    return {SIZE{rcBar.right, rcBar.bottom}, ScaleRect(layout.rcMenuButton, nFromDpi, nToDpi),
            ScaleRect(layout.rcSlider, nFromDpi, nToDpi), ScaleRect(layout.rcMuteButton, nFromDpi, nToDpi)};
}

SBarLayout FitPictures(const SBarLayout& layout, SIZE sizeTile, int nScale)
{
    const LONG cxButton = sizeTile.cx * nScale;
    const LONG cyButton = sizeTile.cy * nScale;
    SBarLayout fitted = layout;
    fitted.rcMenuButton = At(layout.rcMenuButton.left, layout.rcMenuButton.top, cxButton, cyButton);
    fitted.rcMuteButton = At(layout.rcMuteButton.left, layout.rcMuteButton.top, cxButton, cyButton);
    if (nScale == 1)
        return fitted;

    // One enlarged picture pixel between neighbours, and between the controls and the border.
    const LONG nGap = nScale;
    const LONG nInset = kBorderDepth * nScale + nGap;
    const SIZE sizeSlider{layout.rcSlider.right - layout.rcSlider.left,
                          layout.rcSlider.bottom - layout.rcSlider.top};

    const LONG yButtons = std::max({layout.rcMenuButton.top, layout.rcMuteButton.top, nInset});
    fitted.rcMenuButton = At(std::max(layout.rcMenuButton.left, nInset), yButtons, cxButton, cyButton);
    const LONG xSlider = std::max(layout.rcSlider.left, fitted.rcMenuButton.right + nGap);
    fitted.rcSlider = At(xSlider, yButtons + (cyButton - sizeSlider.cy) / 2, sizeSlider.cx, sizeSlider.cy);
    const LONG xMute = std::max(layout.rcMuteButton.left, fitted.rcSlider.right + nGap);
    fitted.rcMuteButton = At(xMute, yButtons, cxButton, cyButton);

    fitted.sizeBar.cx = std::max(layout.sizeBar.cx, fitted.rcMuteButton.right + nInset);
    fitted.sizeBar.cy =
        std::max({layout.sizeBar.cy, fitted.rcMenuButton.bottom + nInset, fitted.rcSlider.bottom + nInset});
    return fitted;
}

int ThumbLength(int cyClient)
{
    // Above the thumb 2, below it 2 to the ticks and 4 for the longest tick.
    constexpr int kRoomOutsideThumb = 2 + 2 + 4;
    return std::max(kMinThumbLength, cyClient - kRoomOutsideThumb);
}
