#include "draw/Border.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kUntouched = RGB(0x12, 0x34, 0x56);

} // namespace

// The bar's border on client areas of several sizes: a black outline, three highlight rows and
// columns, three shadow rows at the bottom but only two shadow columns at the right, because the
// outermost right shadow line falls outside the area and the next one under the outline. On a
// finer screen every line is as many pixels wide as the pictures' scale.
TEST(BorderTest, RaisedEdgeAndOutlineOfTheBar)
{
    struct Case {
        int cx;
        int cy;
        int s;
    };
    const Case cases[] = {{150, 30, 1}, {126, 30, 1}, {40, 16, 1}, {234, 60, 2}, {90, 48, 3}};
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF black = RGB(0, 0, 0);
    for (const Case& c : cases) {
        const CCanvas canvas(c.cx, c.cy, kUntouched);
        ::DrawBorder(canvas.GetDC(), RECT{0, 0, c.cx, c.cy}, c.s);
        const int W = c.cx, H = c.cy, s = c.s, d = 4 * c.s;
        const auto within = [](int n, int nFirst, int nLast) { return n >= nFirst && n <= nLast; };
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                // Where two bands meet the edge steps diagonally; bands are checked away from
                // the corners, and everything inside the edge must stay untouched.
                COLORREF expected = kUntouched;
                bool bKnown = true;
                if (x < s || y < s || x >= W - s || y >= H - s)
                    expected = black;
                else if ((within(y, s, d - 1) && within(x, d, W - d - 1)) ||
                         (within(x, s, d - 1) && within(y, d, H - d - 1)))
                    expected = highlight;
                else if ((within(y, H - d, H - s - 1) && within(x, d, W - d - 1)) ||
                         (within(x, W - d + 1, W - s - 1) && within(y, d, H - d - 1)))
                    expected = shadow;
                else if (x == W - d && within(y, d, H - d - 1))
                    expected = kUntouched;
                else if (x < d || y < d || x > W - d - 1 || y > H - d - 1)
                    bKnown = false;
                if (bKnown) {
                    ASSERT_EQ(canvas.Pixel(x, y), expected)
                        << W << " x " << H << " scale " << s << " at (" << x << ", " << y << ")";
                }
            }
        }
    }
}

TEST(BorderTest, FrameShrinksTheCallersRectangleAndDrawsTheRightLineOnItsEdge)
{
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const CCanvas canvas(40, 20, kUntouched);
    RECT rect{5, 5, 25, 15};
    Draw3dFrame(canvas.GetDC(), rect, 2);
    EXPECT_EQ(rect.left, 7);
    EXPECT_EQ(rect.top, 7);
    EXPECT_EQ(rect.right, 23);
    EXPECT_EQ(rect.bottom, 13);
    EXPECT_EQ(canvas.Pixel(25, 10), shadow) << "right line at x = right";
    EXPECT_EQ(canvas.Pixel(15, 14), shadow) << "bottom line at y = bottom - 1";
    EXPECT_EQ(canvas.Pixel(15, 15), kUntouched);
    EXPECT_EQ(canvas.Pixel(26, 10), kUntouched);
    EXPECT_EQ(canvas.Pixel(5, 10), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.Pixel(4, 10), kUntouched);
}
