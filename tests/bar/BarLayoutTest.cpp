// The bar's layout for the screen's DPI: the template's layout stands while the pictures keep
// their size; enlarged pictures get room of their own, also when a running bar moves to a
// monitor of another DPI.
#include "BarTestSupport.h"

#include "bar/BarLayout.h"
#include "draw/Border.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr SIZE kTile{20, 20};

bool Overlap(const RECT& rcA, const RECT& rcB)
{
    RECT rc{};
    return ::IntersectRect(&rc, &rcA, &rcB) != FALSE;
}

// Each control at least nGap away from the others and from the border nBorder deep.
void ExpectApart(const SBarLayout& layout, int nBorder, int nGap, const std::string& strCase)
{
    const RECT rcInside{nBorder + nGap, nBorder + nGap, layout.sizeBar.cx - nBorder - nGap,
                        layout.sizeBar.cy - nBorder - nGap};
    const RECT controls[] = {layout.rcMenuButton, layout.rcSlider, layout.rcMuteButton};
    for (size_t i = 0; i < 3; ++i) {
        RECT rcClipped{};
        ::IntersectRect(&rcClipped, &controls[i], &rcInside);
        EXPECT_TRUE(::EqualRect(&rcClipped, &controls[i])) << strCase << ", control " << i;
        for (size_t j = i + 1; j < 3; ++j) {
            RECT rcWithGap = controls[i];
            ::InflateRect(&rcWithGap, nGap - 1, nGap - 1);
            EXPECT_FALSE(Overlap(rcWithGap, controls[j])) << strCase << ", controls " << i << " and " << j;
        }
    }
}

TEST(BarLayoutTest, PicturesOfTheirOwnSizeLeaveTheTemplateAndEnlargedOnesGetRoomOfTheirOwn)
{
    // Templates as the dialog manager lays them out: Wine's at four DPIs (its dialog font grows
    // a little less than the DPI), and one whose font grows by the DPI's full ratio.
    const struct {
        const char* pszCase;
        SBarLayout templ;
        int nScale;
    } cases[] = {
        {"96 DPI", {{151, 33}, {5, 7, 23, 23}, {30, 7, 121, 23}, {123, 7, 141, 23}}, 1},
        {"120 DPI", {{172, 38}, {6, 8, 28, 28}, {34, 8, 138, 27}, {140, 8, 162, 28}}, 1},
        {"144 DPI", {{214, 47}, {8, 10, 35, 34}, {43, 10, 173, 34}, {175, 10, 202, 34}}, 2},
        {"192 DPI", {{277, 58}, {10, 12, 46, 44}, {55, 12, 224, 42}, {228, 12, 264, 44}}, 2},
        {"144 DPI, full ratio", {{197, 53}, {6, 10, 28, 32}, {38, 10, 155, 32}, {157, 10, 179, 32}}, 2},
    };
    for (const auto& c : cases) {
        const SBarLayout fitted = FitPictures(c.templ, kTile, c.nScale);
        const LONG nButton = 20 * c.nScale;
        for (const RECT& rc : {fitted.rcMenuButton, fitted.rcMuteButton}) {
            EXPECT_EQ(nButton, rc.right - rc.left) << c.pszCase;
            EXPECT_EQ(nButton, rc.bottom - rc.top) << c.pszCase;
        }
        EXPECT_EQ(c.templ.rcSlider.right - c.templ.rcSlider.left,
                  fitted.rcSlider.right - fitted.rcSlider.left)
            << c.pszCase;
        EXPECT_GE(fitted.sizeBar.cx, c.templ.sizeBar.cx) << c.pszCase;
        EXPECT_GE(fitted.sizeBar.cy, c.templ.sizeBar.cy) << c.pszCase;
        if (c.nScale == 1) {
            // Not a pixel moves: the buttons only take their pictures' size.
            EXPECT_EQ(c.templ.sizeBar.cx, fitted.sizeBar.cx) << c.pszCase;
            EXPECT_EQ(c.templ.sizeBar.cy, fitted.sizeBar.cy) << c.pszCase;
            EXPECT_TRUE(::EqualRect(&c.templ.rcSlider, &fitted.rcSlider)) << c.pszCase;
            EXPECT_EQ(c.templ.rcMenuButton.left, fitted.rcMenuButton.left) << c.pszCase;
            EXPECT_EQ(c.templ.rcMuteButton.top, fitted.rcMuteButton.top) << c.pszCase;
        }
        else {
            ExpectApart(fitted, kBorderDepth * c.nScale, c.nScale, c.pszCase);
            // The slider centred on the buttons.
            EXPECT_EQ(fitted.rcMenuButton.top + fitted.rcMenuButton.bottom,
                      fitted.rcSlider.top + fitted.rcSlider.bottom)
                << c.pszCase;
        }
    }
}

class BarDpiTest : public BarTest {};

TEST_F(BarDpiTest, ABarMovedToAFinerMonitorEnlargesItsPicturesAndComesBackToTheSamePixels)
{
    UseCards(kSampleCard);
    CBarDlg& bar = StartBar();
    const auto layoutOf = [&] {
        SBarLayout layout{};
        RECT rc{};
        ::GetWindowRect(bar.m_hWnd, &rc);
        layout.sizeBar = {rc.right - rc.left, rc.bottom - rc.top};
        const HWND controls[] = {bar.m_btnMenu.m_hWnd, bar.m_sliderVolume.m_hWnd, bar.m_btnMute.m_hWnd};
        RECT* const rects[] = {&layout.rcMenuButton, &layout.rcSlider, &layout.rcMuteButton};
        for (size_t i = 0; i < 3; ++i) {
            ::GetWindowRect(controls[i], rects[i]);
            ::MapWindowPoints(nullptr, bar.m_hWnd, reinterpret_cast<POINT*>(rects[i]), 2);
        }
        return layout;
    };
    const auto windowCorner = [&] {
        RECT rc{};
        ::GetWindowRect(bar.m_hWnd, &rc);
        return POINT{rc.left, rc.top};
    };
    ASSERT_EQ(96, ::GetDeviceCaps(CWindowDC(nullptr).Get(), LOGPIXELSY)) << "the tests run at 96 DPI";
    const SBarLayout before = layoutOf();

    // To a monitor at 200 %: the system suggests where the bar goes, the bar knows how big.
    RECT rcSuggested{300, 200, 300 + 2 * before.sizeBar.cx, 200 + 2 * before.sizeBar.cy};
    ::SendMessageA(bar.m_hWnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&rcSuggested));
    const SBarLayout at192 = layoutOf();
    EXPECT_EQ(300, windowCorner().x);
    EXPECT_EQ(200, windowCorner().y);
    EXPECT_EQ(40, at192.rcMenuButton.right - at192.rcMenuButton.left);
    EXPECT_EQ(40, at192.rcMuteButton.bottom - at192.rcMuteButton.top);
    EXPECT_EQ(2, bar.m_btnMute.GetScale());
    ExpectApart(at192, 2 * kBorderDepth, 2, "192 DPI");

    // Back at 100 %: exactly the bar it was.
    rcSuggested = RECT{10, 20, 10 + before.sizeBar.cx, 20 + before.sizeBar.cy};
    ::SendMessageA(bar.m_hWnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&rcSuggested));
    const SBarLayout after = layoutOf();
    EXPECT_EQ(before.sizeBar.cx, after.sizeBar.cx);
    EXPECT_EQ(before.sizeBar.cy, after.sizeBar.cy);
    EXPECT_TRUE(::EqualRect(&before.rcMenuButton, &after.rcMenuButton));
    EXPECT_TRUE(::EqualRect(&before.rcSlider, &after.rcSlider));
    EXPECT_TRUE(::EqualRect(&before.rcMuteButton, &after.rcMuteButton));
    EXPECT_EQ(1, bar.m_btnMute.GetScale());
}

} // namespace
