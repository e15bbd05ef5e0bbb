// The shipped pictures keep the rules the program relies on: the palette entries they may use,
// the tile frames, and which ink each row and column shows.
#include "draw/LineBitmaps.h"
#include "res/resource.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int kTile = 20;
constexpr BYTE kBlack = 0, kFace = 7, kShadow = 8, kWhite = 15, kNavy = 4;
// The black and white that no colour scheme replaces.
constexpr BYTE kKeptBlack = 2, kKeptWhite = 3;

struct Side {
    const char* name;
    BOOL bInput;
    BYTE dim;
    BYTE bright;
};
const Side kSides[] = {{"output", FALSE, 6, 14}, {"input", TRUE, 1, 9}};

// The entries other than the tile's black found in the middle of a tile, where every glyph has
// ink.
std::set<BYTE> GlyphInks(const SStoredStrip& strip, int column, int row)
{
    std::set<BYTE> inks;
    for (int y = 4; y < 16; ++y)
        for (int x = 4; x < 16; ++x)
            if (BYTE e = strip.Entry(column * kTile + x, row * kTile + y); e != kKeptBlack)
                inks.insert(e);
    return inks;
}

// The entries on the ring one pixel inside the tile's frame.
std::set<BYTE> RingEntries(const SStoredStrip& strip, int column, int row)
{
    std::set<BYTE> entries;
    for (int i = 4; i < kTile - 2; ++i) {
        entries.insert(strip.Entry(column * kTile + i, row * kTile + 1));
        entries.insert(strip.Entry(column * kTile + i, row * kTile + kTile - 2));
        entries.insert(strip.Entry(column * kTile + 1, row * kTile + i));
        entries.insert(strip.Entry(column * kTile + kTile - 2, row * kTile + i));
    }
    return entries;
}

} // namespace

TEST(StripRulesTest, MuteStripsUseOnlyTheirSidesGlyphEntries)
{
    for (const Side& side : kSides) {
        const std::set<BYTE> allowed{kKeptBlack, kKeptWhite, kShadow, kWhite, side.dim, side.bright};
        for (int i = 0; i < kLineBitmapCount; ++i) {
            const UINT nResID = LineBitmapId(side.bInput, i);
            SStoredStrip strip;
            ASSERT_TRUE(ReadStoredStrip(nResID, strip)) << nResID;
            ASSERT_EQ(strip.cx, 4 * kTile);
            ASSERT_EQ(strip.cy, 2 * kTile);
            for (BYTE e : strip.entries)
                ASSERT_TRUE(allowed.count(e)) << "strip " << nResID << " uses entry " << int(e);
        }
    }
}

TEST(StripRulesTest, MuteTilesAreSunkenAndInkedByRowAndColumn)
{
    for (const Side& side : kSides) {
        for (int i = 0; i < kLineBitmapCount; ++i) {
            const UINT nResID = LineBitmapId(side.bInput, i);
            SStoredStrip strip;
            ASSERT_TRUE(ReadStoredStrip(nResID, strip)) << nResID;
            for (int row = 0; row < 2; ++row) {
                for (int column = 0; column < 4; ++column) {
                    const int left = column * kTile, top = row * kTile;
                    for (int k = 0; k < kTile - 1; ++k) {
                        ASSERT_EQ(strip.Entry(left + k, top), kShadow) << nResID;
                        ASSERT_EQ(strip.Entry(left, top + k), kShadow) << nResID;
                        ASSERT_EQ(strip.Entry(left + k + 1, top + kTile - 1), kWhite) << nResID;
                        ASSERT_EQ(strip.Entry(left + kTile - 1, top + k + 1), kWhite) << nResID;
                    }
                    // Muted row dim, other row bright; pressed shows the other brightness.
                    const bool bBright = column == 2 ? row == 0 : row == 1;
                    const BYTE ink = column == 3 ? kKeptWhite : bBright ? side.bright : side.dim;
                    EXPECT_EQ(GlyphInks(strip, column, row), std::set<BYTE>{ink})
                        << side.name << " strip " << nResID << " row " << row << " column " << column;

                    const bool bDotted = column == 1 || column == 2;
                    const std::set<BYTE> ring =
                        bDotted ? std::set<BYTE>{kKeptBlack, side.bright} : std::set<BYTE>{kKeptBlack};
                    EXPECT_EQ(RingEntries(strip, column, row), ring)
                        << side.name << " strip " << nResID << " row " << row << " column " << column;

                    const bool bRedSquare = column == 3 && side.bInput;
                    EXPECT_EQ(strip.Entry(left + 2, top + 2) == 9, bRedSquare)
                        << side.name << " strip " << nResID << " row " << row << " column " << column;
                }
            }
        }
    }
}

TEST(StripRulesTest, MenuStripShowsRaisedFocusedPressedAndEngravedFaces)
{
    SStoredStrip strip;
    ASSERT_TRUE(ReadStoredStrip(IDB_MENU, strip));
    ASSERT_EQ(strip.cx, 4 * kTile);
    ASSERT_EQ(strip.cy, kTile);
    const std::set<BYTE> allowed{kBlack, kKeptBlack, kKeptWhite, kNavy, kFace, kShadow, kWhite};
    for (BYTE e : strip.entries)
        ASSERT_TRUE(allowed.count(e)) << "entry " << int(e);

    // Raised (0 and 3): white top-left; the focus and pressed faces sit in a black outline.
    const BYTE corner[] = {kWhite, kBlack, kBlack, kWhite};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(strip.Entry(column * kTile, 0), corner[column]) << column;
    EXPECT_EQ(strip.Entry(kTile + kTile - 1, 10), kBlack);
    EXPECT_EQ(strip.Entry(2 * kTile + 1, 10), kShadow) << "pressed face is sunken";

    // The title bar is navy in the first three faces, moved one pixel down and right when
    // pressed, and greyed out when disabled.
    int nNavy = 0;
    for (int y = 0; y < kTile - 1; ++y) {
        for (int x = 0; x < kTile - 1; ++x) {
            if (strip.Entry(x, y) != kNavy)
                continue;
            ++nNavy;
            EXPECT_EQ(strip.Entry(kTile + x, y), kNavy);
            EXPECT_EQ(strip.Entry(2 * kTile + x + 1, y + 1), kNavy);
            EXPECT_NE(strip.Entry(3 * kTile + x, y), kNavy);
        }
    }
    EXPECT_GT(nNavy, 10);
}

TEST(StripRulesTest, IconsShowTheSliderOnAClearBackground)
{
    struct Case {
        UINT nResID;
        int nSize;
        POINT solid;
        COLORREF solidColor;
    };
    const Case cases[] = {
        {IDI_BAR, 16, {10, 3}, RGB(0xC0, 0xC0, 0xC0)},   // thumb
        {IDI_BAR, 32, {20, 5}, RGB(0xC0, 0xC0, 0xC0)},   // thumb
        {IDI_MUTED, 16, {5, 0}, RGB(0xFF, 0x00, 0x00)},  // no-entry ring
        {IDI_MUTED, 16, {10, 3}, RGB(0xC0, 0xC0, 0xC0)}, // thumb beside the ring
    };
    const COLORREF background = RGB(1, 2, 3);
    for (const Case& c : cases) {
        const CScopedIcon icon(static_cast<HICON>(::LoadImageA(
            ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(c.nResID), IMAGE_ICON, c.nSize, c.nSize, 0)));
        ASSERT_TRUE(icon) << c.nResID << " at " << c.nSize;
        const CCanvas canvas(c.nSize, c.nSize, background);
        ::DrawIconEx(canvas.GetDC(), 0, 0, icon.Get(), c.nSize, c.nSize, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(canvas.Pixel(0, 0), background) << c.nResID << " at " << c.nSize;
        EXPECT_EQ(canvas.Pixel(c.solid.x, c.solid.y), c.solidColor) << c.nResID << " at " << c.nSize;
    }
}
