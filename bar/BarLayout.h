// Where the bar's controls stand. The dialog template places them for the screen's DPI, as a
// dialog scales by its font; the image buttons then take the size of their enlarged pictures
// (PictureScale). Enlarged by 2 or more they outgrow the places the template gives them, and
// the bar makes room for them instead of letting them cover the slider or the border.
//
//   const SBarLayout layout = FitPictures(ScaleLayout(templ, 96, 144), SIZE{20, 20}, 2);
#pragma once

#include <windows.h>

// The bar's size and its controls' rectangles in its client coordinates. The bar has no frame:
// its client area is the whole window.
struct SBarLayout {
    SIZE sizeBar;
    RECT rcMenuButton;
    RECT rcSlider;
    RECT rcMuteButton;
};

// The layout as the template would give it at nToDpi when it gives this one at nFromDpi: every
// coordinate scaled by the ratio, as the dialog manager scales a dialog with its font.
SBarLayout ScaleLayout(const SBarLayout& layout, UINT nFromDpi, UINT nToDpi);

// The template's layout with image buttons of sizeTile times nScale. At scale 1 each button takes
// its template place's top-left corner and nothing else moves. At a larger scale every control
// keeps a gap of one enlarged picture pixel to the next control and to the border (which is
// enlarged by the same scale), pushing the slider and the mute button to the right and growing
// the bar where the template gives too little room; the slider keeps its length and is centred
// on the buttons' height.
SBarLayout FitPictures(const SBarLayout& layout, SIZE sizeTile, int nScale);

// The length of the slider's thumb that leaves room for its tick marks in a slider cyClient
// pixels high. The trackbar draws the thumb 2 pixels below its top and the ticks, up to 4 pixels
// long, from 2 pixels below the thumb; its own thumb length ignores the control's height, which
// cuts thumb and ticks off in a low slider. Never below kMinThumbLength.
constexpr int kMinThumbLength = 6;
int ThumbLength(int cyClient);
