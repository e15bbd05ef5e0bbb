// Where a bar opens: in the column of an earlier bar without covering one, and where it can be
// seen on one or several monitors.
#include "bar/BarPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(BarPlacementTest, LaterBarTakesTheFirstFreePlaceInTheColumn)
{
    const RECT rcScreen{0, 0, 1024, 768};
    const RECT rcA{10, 100, 160, 130};
    const RECT rcB{10, 130, 160, 160};   // directly beneath A
    const RECT rcLow{10, 710, 160, 740}; // 740 + 30 > 768: no room beneath
    const struct {
        const char* pszCase;
        RECT rcAnchor;
        std::vector<RECT> vecBars;
        RECT rcArea;
        POINT expected;
    } cases[] = {
        {"room beneath", rcA, {rcA}, rcScreen, {10, 130}},
        {"the bar beneath is taken: the next place down", rcA, {rcA, rcB}, rcScreen, {10, 160}},
        {"found the lower bar first: beneath it", rcB, {rcB, rcA}, rcScreen, {10, 160}},
        {"a gap in the column is filled", rcA, {rcA, {10, 160, 160, 190}}, rcScreen, {10, 130}},
        {"a bar half way into the place counts", rcA, {rcA, {100, 150, 250, 180}}, rcScreen, {10, 190}},
        {"a bar beside the column does not", rcA, {rcA, {160, 130, 310, 160}}, rcScreen, {10, 130}},
        {"no room beneath: above", rcLow, {rcLow}, rcScreen, {10, 680}},
        {"above is taken too: further up", rcLow, {rcLow, {10, 680, 160, 710}}, rcScreen, {10, 650}},
        {"738 + 30 = 768 still fits beneath", {0, 708, 150, 738}, {}, rcScreen, {0, 738}},
        {"column below full: above the anchor",
         {0, 0, 150, 30},
         {{0, 30, 150, 60}},
         {0, -60, 150, 60},
         {0, -30}},
        {"the whole column full: beneath after all",
         {0, 0, 150, 30},
         {{0, 30, 150, 60}},
         {0, 0, 150, 60},
         {0, 30}},
        {"a second monitor below the first", {0, 800, 150, 830}, {}, {0, 768, 1024, 1536}, {0, 830}},
    };
    for (const auto& c : cases) {
        const POINT pt = FirstFreePlace(c.rcAnchor, c.vecBars, c.rcArea);
        EXPECT_EQ(c.expected.x, pt.x) << c.pszCase;
        EXPECT_EQ(c.expected.y, pt.y) << c.pszCase;
    }
}

TEST(BarPlacementTest, BarIsKeptWhereItCanBeSeen)
{
    const SIZE size{150, 30};
    const SMonitorArea primary{{0, 0, 1024, 768}, {0, 0, 1024, 740}};
    const SMonitorArea right{{1024, 0, 2304, 1024}, {1024, 0, 2304, 1024}};
    const SMonitorArea left{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}};
    const struct {
        const char* pszCase;
        POINT pt;
        RECT rcVirtual;
        std::vector<SMonitorArea> vecMonitors;
        POINT expected;
    } cases[] = {
        {"on the screen", {100, 200}, primary.rcMonitor, {primary}, {100, 200}},
        {"negative: 0", {-5, -1}, primary.rcMonitor, {primary}, {0, 0}},
        {"far out: 0", {1025, 769}, primary.rcMonitor, {primary}, {0, 0}},
        {"reaching past the edge: wholly onto the work area",
         {1000, 750},
         primary.rcMonitor,
         {primary},
         {874, 710}},
        {"one pixel in the corner", {1023, 767}, primary.rcMonitor, {primary}, {874, 710}},
        {"on the taskbar: above it", {10, 735}, primary.rcMonitor, {primary}, {10, 710}},
        {"across two monitors: onto the one that shows most of it",
         {-50, 300},
         {-1280, 0, 1024, 1024},
         {left, primary},
         {0, 300}},
        {"x at the screen's width: onto the work area", {1024, 10}, primary.rcMonitor, {primary}, {874, 10}},
        {"y at the screen's height: above the taskbar", {10, 768}, primary.rcMonitor, {primary}, {10, 710}},
        {"on the monitor to the right", {1500, 900}, {0, 0, 2304, 1024}, {primary, right}, {1500, 900}},
        {"beneath the primary, beside the right one: onto the nearest",
         {300, 900},
         {0, 0, 2304, 1024},
         {primary, right},
         {300, 710}},
        {"on the monitor to the left", {-600, 300}, {-1280, 0, 1024, 1024}, {left, primary}, {-600, 300}},
        {"left of every monitor: 0", {-1300, 300}, {-1280, 0, 1024, 1024}, {left, primary}, {0, 300}},
    };
    for (const auto& c : cases) {
        const POINT pt = KeepOnScreen(c.pt, size, c.rcVirtual, c.vecMonitors);
        EXPECT_EQ(c.expected.x, pt.x) << c.pszCase;
        EXPECT_EQ(c.expected.y, pt.y) << c.pszCase;
    }
}

} // namespace
