#include "draw/Border.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kUntouched = RGB(0x12, 0x34, 0x56);

} // namespace

// The bar's border on client areas of several sizes: a black outline, three highlight rows and
// columns, three shadow rows at the bottom but only two shadow columns at the right, because the
// outermost right shadow line falls outside the area and the next one under the outline.
TEST(BorderTest, RaisedEdgeAndOutlineOfTheBar)
{
    struct Size {
        int cx;
        int cy;
    };
    const Size sizes[] = {{150, 30}, {126, 30}, {40, 16}};
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF black = RGB(0, 0, 0);
    for (const Size& s : sizes) {
        const CCanvas canvas(s.cx, s.cy, kUntouched);
        ::DrawBorder(canvas.GetDC(), RECT{0, 0, s.cx, s.cy});
        const int W = s.cx, H = s.cy;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                // Where two bands meet the edge steps diagonally; bands are checked away from
                // the corners, and everything inside the edge must stay untouched.
                COLORREF expected = kUntouched;
                bool bKnown = true;
                if (x == 0 || y == 0 || x == W - 1 || y == H - 1)
                    expected = black;
                else if ((y >= 1 && y <= 3 && x >= 4 && x <= W - 5) ||
                         (x >= 1 && x <= 3 && y >= 4 && y <= H - 5))
                    expected = highlight;
                else if ((y >= H - 4 && y <= H - 2 && x >= 4 && x <= W - 5) ||
                         (x >= W - 3 && x <= W - 2 && y >= 4 && y <= H - 5))
                    expected = shadow;
                else if (x == W - 4 && y >= 4 && y <= H - 5)
                    expected = kUntouched;
                else if (x < 4 || y < 4 || x > W - 5 || y > H - 5)
                    bKnown = false;
                if (bKnown) {
                    ASSERT_EQ(canvas.Pixel(x, y), expected)
                        << W << " x " << H << " at (" << x << ", " << y << ")";
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
