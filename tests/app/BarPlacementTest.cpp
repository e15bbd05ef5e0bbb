// Where a bar opens: beside an earlier bar, and kept on the screen.
#include "bar/BarPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(BarPlacementTest, LaterBarOpensBeneathOrAboveTheEarlierOne)
{
    const struct {
        RECT rcEarlier;
        int nScreenHeight;
        POINT expected;
    } cases[] = {
        {{10, 100, 160, 130}, 768, {10, 130}}, // room beneath
        {{10, 710, 160, 740}, 768, {10, 680}}, // 740 + 30 > 768: above
        {{0, 708, 150, 738}, 768, {0, 738}},   // 738 + 30 = 768 still fits
        {{0, 0, 150, 30}, 60, {0, 30}},        // 30 + 30 = 60 still fits
        {{0, 1, 150, 31}, 60, {0, -29}},       // 31 + 30 > 60: above, even off screen
    };
    for (const auto& c : cases) {
        const POINT pt = PlaceNextTo(c.rcEarlier, c.nScreenHeight);
        EXPECT_EQ(c.expected.x, pt.x);
        EXPECT_EQ(c.expected.y, pt.y) << "earlier bottom " << c.rcEarlier.bottom;
    }
}

TEST(BarPlacementTest, OriginOffTheScreenBecomesZero)
{
    const struct {
        POINT pt;
        POINT expected;
    } cases[] = {
        {{-5, 10}, {0, 10}},   {{1024, 768}, {1024, 768}}, // equal to the screen size stays
        {{1025, 769}, {0, 0}}, {{100, -1}, {100, 0}},      {{0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        const POINT pt = ClampToScreen(c.pt, 1024, 768);
        EXPECT_EQ(c.expected.x, pt.x) << c.pt.x;
        EXPECT_EQ(c.expected.y, pt.y) << c.pt.y;
    }
}

} // namespace
