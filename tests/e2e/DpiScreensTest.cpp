// The bar on today's screens, at 100, 125, 150 and 200 % (96, 120, 144 and 192 DPI): real copies
// started at each DPI, their bar, menu and about box photographed into build/screens/ for
// people, and checked as a user would look at them: the pictures enlarged in whole blocks of
// screen pixels, never blurred, and no control covering another or cut off by the border.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "ScreenSettings.h"
#include "XInput.h"
#include "fw/ScopedHandles.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Waits until a part of the screen shows the same twice in a row: a window that has just opened
// has painted itself.
bool WaitUntilStill(const RECT& rc)
{
    std::vector<COLORREF> before = ScreenPixels(rc);
    return WaitFor([&] {
        std::vector<COLORREF> now = ScreenPixels(rc);
        const bool bStill = now == before;
        before = std::move(now);
        return bStill;
    });
}

// Where the picture button's pixels break a block of nScale x nScale into colours of its own: a
// blurred or shifted enlargement. Empty when every block is whole.
std::string BrokenBlock(HWND hButton, int nScale)
{
    const RECT rc = WindowRect(hButton);
    const int cx = rc.right - rc.left;
    const std::vector<COLORREF> pixels = ScreenPixels(rc);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i) % cx;
        const int y = static_cast<int>(i) / cx;
        if (pixels[i] != pixels[static_cast<size_t>((y - y % nScale) * cx + (x - x % nScale))])
            return "at " + std::to_string(x) + ", " + std::to_string(y);
    }
    return {};
}

// How many ticks show below the slider's thumb: the most pixels that stand out from the
// background in one row between the thumb and the slider's focus frame at its edges.
size_t ShownTicks(HWND hSlider)
{
    const RECT rcSlider = WindowRect(hSlider);
    size_t nMost = 0;
    for (LONG y = ThumbRect(hSlider).bottom + 1; y < rcSlider.bottom - 1; ++y) {
        const std::vector<COLORREF> row = ScreenPixels(RECT{rcSlider.left + 2, y, rcSlider.right - 2, y + 1});
        std::map<COLORREF, size_t> counts;
        for (const COLORREF clr : row)
            ++counts[clr];
        const auto background = std::max_element(
            counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        nMost = std::max(nMost, row.size() - background->second);
    }
    return nMost;
}

size_t ColourCount(HWND hButton)
{
    const std::vector<COLORREF> pixels = ScreenPixels(WindowRect(hButton));
    return std::set<COLORREF>(pixels.begin(), pixels.end()).size();
}

bool Inside(const RECT& rcInner, const RECT& rcOuter)
{
    RECT rc{};
    ::IntersectRect(&rc, &rcInner, &rcOuter);
    return ::EqualRect(&rc, &rcInner) != FALSE;
}

bool Overlap(const RECT& rcA, const RECT& rcB)
{
    RECT rc{};
    return ::IntersectRect(&rc, &rcA, &rcB) != FALSE;
}

BOOL CALLBACK AddChild(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

class DpiScreensTest : public CCopyTest {
protected:
    DpiScreensTest() : CCopyTest(std::string(kSampleCard) + kSpeakersOnlyCard) {}
};

TEST_F(DpiScreensTest, BarMenuAndAboutBoxAtFourDpisInWholeBlocksAndApart)
{
    const struct {
        DWORD dwDpi;
        int nScale;
    } screens[] = {{96, 1}, {120, 1}, {144, 2}, {192, 2}};
    for (const auto& screen : screens) {
        const std::string strDpi = std::to_string(screen.dwDpi);
        const CDisplayDpi dpi(screen.dwDpi);
        CRunningBar bar("v0");
        ASSERT_NE(nullptr, bar.hBar) << strDpi;
        const RECT rcBar = WindowRect(bar.hBar);
        ASSERT_TRUE(WaitUntilStill(rcBar)) << strDpi;
        EXPECT_TRUE(XScreenshot(rcBar, ScreenshotPath("bar-" + strDpi + ".png"))) << strDpi;

        // The pictures: 20 x 20 pixel art, each pixel a whole block of nScale x nScale.
        for (const HWND hButton : {bar.hMenuButton, bar.hMute}) {
            const RECT rc = WindowRect(hButton);
            EXPECT_EQ(20 * screen.nScale, rc.right - rc.left) << strDpi;
            EXPECT_EQ(20 * screen.nScale, rc.bottom - rc.top) << strDpi;
            EXPECT_EQ("", BrokenBlock(hButton, screen.nScale)) << strDpi;
            EXPECT_LE(3u, ColourCount(hButton)) << strDpi << ": the picture is drawn";
        }

        // The slider's whole thumb shows, and below it all eleven ticks, 0 to 100 by 10.
        EXPECT_TRUE(Inside(ThumbRect(bar.hSlider), WindowRect(bar.hSlider)))
            << strDpi << ": the thumb is cut off";
        EXPECT_EQ(11u, ShownTicks(bar.hSlider)) << strDpi;

        // No control covers another or reaches into the border, which grows with the pictures.
        RECT rcInside = rcBar;
        ::InflateRect(&rcInside, -4 * screen.nScale, -4 * screen.nScale);
        const RECT controls[] = {WindowRect(bar.hMenuButton), WindowRect(bar.hSlider), WindowRect(bar.hMute)};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_TRUE(Inside(controls[i], rcInside)) << strDpi << ": control " << i;
            for (size_t j = i + 1; j < 3; ++j)
                EXPECT_FALSE(Overlap(controls[i], controls[j])) << strDpi << ": controls " << i << ", " << j;
        }

        // The menu, opened from the keyboard with the pointer out of the way (no tooltip over
        // the picture), below the menu button.
        ASSERT_TRUE(XClick(BodyPoint(bar.hBar, bar.hSlider))) << strDpi;
        ASSERT_TRUE(XMove(POINT{900, 700})) << strDpi;
        ASSERT_TRUE(XKeys("shift+F10")) << strDpi;
        HWND hMenu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hMenu = OpenMenuOf(bar.ProcessId())) != nullptr; })) << strDpi;
        const RECT rcMenu = WindowRect(hMenu);
        EXPECT_EQ(WindowRect(bar.hMenuButton).left, rcMenu.left) << strDpi;
        EXPECT_EQ(WindowRect(bar.hMenuButton).bottom + 1, rcMenu.top) << strDpi;
        RECT rcShot{};
        ::UnionRect(&rcShot, &rcBar, &rcMenu);
        ASSERT_TRUE(WaitUntilStill(rcShot)) << strDpi;
        EXPECT_TRUE(XScreenshot(rcShot, ScreenshotPath("menu-" + strDpi + ".png"))) << strDpi;
        ASSERT_TRUE(XClick(POINT{900, 700})) << strDpi;
        ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; })) << strDpi;

        // The about box, eleventh entry from the menu's end (two cards, the wave line, the master,
        // the two sides, the three options and the keys): its text and button inside it.
        ASSERT_TRUE(ChooseFromTheEnd(bar, 11)) << strDpi;
        HWND hAbout = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hAbout = ::FindWindowA(nullptr, "About Sonobar")) != nullptr; }))
            << strDpi;
        RECT rcClient{};
        ::GetClientRect(hAbout, &rcClient);
        ::MapWindowPoints(hAbout, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
        std::vector<HWND> children;
        ::EnumChildWindows(hAbout, &AddChild, reinterpret_cast<LPARAM>(&children));
        EXPECT_EQ(3u, children.size()) << strDpi;
        for (const HWND hChild : children)
            EXPECT_TRUE(Inside(WindowRect(hChild), rcClient))
                << strDpi << ": control " << ::GetDlgCtrlID(hChild);
        ASSERT_TRUE(WaitUntilStill(WindowRect(hAbout))) << strDpi;
        EXPECT_TRUE(XScreenshot(WindowRect(hAbout), ScreenshotPath("about-" + strDpi + ".png"))) << strDpi;
        ASSERT_TRUE(XKeys("Return")) << strDpi;
        EXPECT_TRUE(WaitFor([] { return ::FindWindowA(nullptr, "About Sonobar") == nullptr; })) << strDpi;
        ASSERT_TRUE(bar.Close()) << strDpi;
    }
}

} // namespace
