#include "draw/LineBitmaps.h"
#include "draw/MappedBitmap.h"
#include "res/resource.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

// Draws the whole built strip onto a canvas of its size.
void DrawStrip(const CMappedBitmap& bmp, const CCanvas& canvas)
{
    const CScopedMemoryDC memDC(::CreateCompatibleDC(canvas.GetDC()));
    const CSelectObject select(memDC.Get(), bmp.GetSafeHandle());
    ::BitBlt(canvas.GetDC(), 0, 0, canvas.Width(), canvas.Height(), memDC.Get(), 0, 0, SRCCOPY);
}

// Counts the pixels of the drawn strip that differ from the stored picture mapped with the
// current system colours; reports the first one.
int CountMismatches(UINT nResID, const CMappedBitmap& bmp)
{
    SStoredStrip stored;
    if (!ReadStoredStrip(nResID, stored))
        return -1;
    const CCanvas canvas(stored.cx, stored.cy, RGB(1, 2, 3));
    DrawStrip(bmp, canvas);
    int nMismatches = 0;
    for (int y = 0; y < stored.cy; ++y) {
        for (int x = 0; x < stored.cx; ++x) {
            const COLORREF expected = MappedColor(stored, stored.Entry(x, y));
            if (canvas.Pixel(x, y) != expected && nMismatches++ == 0)
                ADD_FAILURE() << "strip " << nResID << " pixel (" << x << ", " << y << ") entry "
                              << int(stored.Entry(x, y)) << ": " << std::hex << canvas.Pixel(x, y)
                              << " instead of " << expected;
        }
    }
    return nMismatches;
}

const std::vector<int> kButtonElements{COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNTEXT};
const std::vector<COLORREF> kDarkButtons{RGB(0x30, 0x30, 0x38), RGB(0x10, 0x10, 0x14), RGB(0x58, 0x5C, 0x64),
                                         RGB(0xE0, 0xD8, 0xC8)};

// A resource header followed by its colour table and pixels, to be bent out of shape.
std::vector<BYTE> StripBytes(LONG cx, LONG cy)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = cx;
    header.biHeight = cy;
    header.biPlanes = 1;
    header.biBitCount = 4;
    header.biCompression = BI_RGB;
    header.biClrUsed = 16;
    const size_t cbBits = static_cast<size_t>((cx * 4 + 31) / 32 * 4) * (cy < 0 ? -cy : cy);
    std::vector<BYTE> data(sizeof(header) + 64 + cbBits);
    std::memcpy(data.data(), &header, sizeof(header));
    return data;
}

BITMAPINFOHEADER& Header(std::vector<BYTE>& data)
{
    return *reinterpret_cast<BITMAPINFOHEADER*>(data.data());
}

} // namespace

TEST(MappedBitmapTest, AcceptsOnlyCompleteFourBitStripsWithSixteenColours)
{
    struct Case {
        const char* what;
        void (*bend)(std::vector<BYTE>&);
        bool bAccepted;
    };
    const Case cases[] = {
        {"a strip as the program ships it", [](std::vector<BYTE>&) {}, true},
        {"a colour count of 0 meaning 16", [](std::vector<BYTE>& d) { Header(d).biClrUsed = 0; }, true},
        {"a top-down strip", [](std::vector<BYTE>& d) { Header(d).biHeight = -40; }, true},
        {"8 bits per pixel", [](std::vector<BYTE>& d) { Header(d).biBitCount = 8; }, false},
        {"1 bit per pixel", [](std::vector<BYTE>& d) { Header(d).biBitCount = 1; }, false},
        {"a 12-entry colour table", [](std::vector<BYTE>& d) { Header(d).biClrUsed = 12; }, false},
        {"run-length compressed", [](std::vector<BYTE>& d) { Header(d).biCompression = BI_RLE4; }, false},
        {"an old 12-byte core header", [](std::vector<BYTE>& d) { Header(d).biSize = 12; }, false},
        {"a header size past the end", [](std::vector<BYTE>& d) { Header(d).biSize = 0x7FFFFFF0; }, false},
        {"a last pixel row cut short", [](std::vector<BYTE>& d) { d.pop_back(); }, false},
        {"no pixels at all", [](std::vector<BYTE>& d) { d.resize(sizeof(BITMAPINFOHEADER) + 64); }, false},
        {"a header cut short", [](std::vector<BYTE>& d) { d.resize(20); }, false},
        {"a height beyond the data", [](std::vector<BYTE>& d) { Header(d).biHeight = 0x7FFFFFFF; }, false},
        {"a width beyond the data", [](std::vector<BYTE>& d) { Header(d).biWidth = 0x7FFFFFFF; }, false},
        {"a zero height", [](std::vector<BYTE>& d) { Header(d).biHeight = 0; }, false},
        {"a negative width", [](std::vector<BYTE>& d) { Header(d).biWidth = -80; }, false},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> data = StripBytes(80, 40);
        c.bend(data);
        const BOOL bAccepted = IsMappableStrip(data.data(), static_cast<DWORD>(data.size()));
        EXPECT_EQ(bAccepted != FALSE, c.bAccepted) << c.what;
    }
    EXPECT_FALSE(IsMappableStrip(nullptr, 1000));
}

TEST(MappedBitmapTest, LoadsEveryShippedStripAtItsSize)
{
    for (UINT nResID : AllStripIds()) {
        CMappedBitmap bmp;
        ASSERT_TRUE(bmp.Load(nResID)) << nResID;
        EXPECT_EQ(bmp.m_nResID, nResID);
        BITMAP info{};
        ASSERT_NE(::GetObjectA(bmp.GetSafeHandle(), sizeof(info), &info), 0) << nResID;
        EXPECT_EQ(info.bmWidth, 80) << nResID;
        EXPECT_EQ(info.bmHeight, nResID == IDB_MENU ? 20 : 40) << nResID;
    }
}

TEST(MappedBitmapTest, FailedLoadLeavesNothingBehind)
{
    CMappedBitmap bmp;
    EXPECT_FALSE(bmp.MapColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)));

    ASSERT_TRUE(bmp.Load(IDB_MENU));
    // 999 is no bitmap; icon 128 exists, but not as a bitmap.
    for (UINT nMissing : {999u, unsigned{IDI_BAR}}) {
        EXPECT_FALSE(bmp.Load(nMissing)) << nMissing;
        EXPECT_EQ(bmp.GetSafeHandle(), nullptr) << nMissing;
        EXPECT_EQ(bmp.m_nResID, 0u) << nMissing;
        EXPECT_FALSE(bmp.MapColors(RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3))) << nMissing;
    }
    EXPECT_TRUE(bmp.Load(IDB_MASTER_INPUT));
    EXPECT_NE(bmp.GetSafeHandle(), nullptr);
}

TEST(MappedBitmapTest, StandardColoursDrawEveryStripExactlyAsStored)
{
    const CColorScheme scheme = StandardColors();
    for (UINT nResID : AllStripIds()) {
        CMappedBitmap bmp;
        ASSERT_TRUE(bmp.Load(nResID));
        SStoredStrip stored;
        ASSERT_TRUE(ReadStoredStrip(nResID, stored));
        // With the classic colours, mapping must change nothing the strips use.
        const CCanvas canvas(stored.cx, stored.cy, RGB(1, 2, 3));
        DrawStrip(bmp, canvas);
        int nMismatches = 0;
        for (int y = 0; y < stored.cy; ++y)
            for (int x = 0; x < stored.cx; ++x)
                nMismatches += canvas.Pixel(x, y) != stored.colors[stored.Entry(x, y)];
        EXPECT_EQ(nMismatches, 0) << "strip " << nResID;
    }
}

TEST(MappedBitmapTest, DarkSchemeRecoloursFramesAndKeepsGlyphs)
{
    const CColorScheme scheme(kButtonElements, kDarkButtons);
    for (UINT nResID : AllStripIds()) {
        CMappedBitmap bmp;
        ASSERT_TRUE(bmp.Load(nResID));
        EXPECT_EQ(CountMismatches(nResID, bmp), 0) << "strip " << nResID;
    }

    // Spot checks on the output master: the sunken frame takes the scheme; the cyan wedge and
    // the black it stands on do not.
    CMappedBitmap bmp;
    ASSERT_TRUE(bmp.Load(IDB_MASTER_OUTPUT));
    const CCanvas canvas(80, 40, RGB(1, 2, 3));
    DrawStrip(bmp, canvas);
    EXPECT_EQ(canvas.Pixel(0, 5), kDarkButtons[1]);      // top-left frame: shadow
    EXPECT_EQ(canvas.Pixel(19, 5), kDarkButtons[2]);     // bottom-right frame: highlight
    EXPECT_EQ(canvas.Pixel(2, 5), RGB(0, 0, 0));         // the tile's black, kept
    EXPECT_EQ(canvas.Pixel(15, 35), RGB(0, 0xFF, 0xFF)); // bright wedge, row 1
    EXPECT_EQ(canvas.Pixel(15, 15), RGB(0, 0x80, 0x80)); // dim wedge, row 0
}

// In the high-contrast schemes, where the text is white on black or black on white, every edge
// drawn inside a picture's glyph stays an edge: no glyph takes the colour of its paper. Only the
// edge against the button face, the scheme's own background, may fade: the glyph's body shows.
TEST(MappedBitmapTest, HighContrastSchemesKeepEveryGlyphsEdges)
{
    const std::vector<int> elements{COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
                                    COLOR_BTNTEXT, COLOR_WINDOW,    COLOR_WINDOWFRAME};
    const struct {
        const char* pszScheme;
        std::vector<COLORREF> colors;
    } schemes[] = {
        {"black",
         {RGB(0, 0, 0), RGB(128, 128, 128), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0),
          RGB(255, 255, 255)}},
        {"white",
         {RGB(255, 255, 255), RGB(128, 128, 128), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255),
          RGB(0, 0, 0)}},
    };
    constexpr BYTE kFaceEntry = 7;
    for (const auto& scheme : schemes) {
        const CColorScheme colors(elements, scheme.colors);
        for (UINT nResID : AllStripIds()) {
            SStoredStrip strip;
            ASSERT_TRUE(ReadStoredStrip(nResID, strip));
            // The glyphs stand within 3 to 16 of each 20 x 20 tile.
            for (int y = 0; y < strip.cy; ++y)
                for (int x = 0; x < strip.cx; ++x) {
                    const bool bInGlyph = x % 20 >= 3 && x % 20 <= 16 && y % 20 >= 3 && y % 20 <= 16;
                    for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
                        const int x2 = x + dx;
                        const int y2 = y + dy;
                        const BYTE a = strip.Entry(x, y);
                        const BYTE b = strip.Entry(x2, y2);
                        if (!bInGlyph || x2 % 20 > 16 || y2 % 20 > 16 || a == b || a == kFaceEntry ||
                            b == kFaceEntry)
                            continue;
                        ASSERT_NE(MappedColor(strip, a), MappedColor(strip, b))
                            << scheme.pszScheme << ": strip " << nResID << " at " << x << ", " << y;
                    }
                }
        }
    }
}

TEST(MappedBitmapTest, MapColorsRebuildsFromTheStoredPicture)
{
    SStoredStrip before;
    ASSERT_TRUE(ReadStoredStrip(IDB_MENU, before));

    CMappedBitmap bmp;
    ASSERT_TRUE(bmp.Load(IDB_MENU));
    const COLORREF face1 = RGB(10, 20, 30), highlight1 = RGB(40, 50, 60), shadow1 = RGB(70, 80, 90);
    const COLORREF face2 = RGB(200, 10, 10), highlight2 = RGB(10, 200, 10), shadow2 = RGB(10, 10, 200);
    ASSERT_TRUE(bmp.MapColors(face1, highlight1, shadow1));
    // A second mapping starts again from the stored entries, not from the first result.
    ASSERT_TRUE(bmp.MapColors(face2, highlight2, shadow2));

    const CCanvas canvas(80, 20, RGB(1, 2, 3));
    DrawStrip(bmp, canvas);
    int nChecked = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 80; ++x) {
            const BYTE entry = before.Entry(x, y);
            const COLORREF expected = entry == 7    ? face2
                                      : entry == 8  ? shadow2
                                      : entry == 15 ? highlight2
                                                    : MappedColor(before, entry);
            nChecked += entry == 7 || entry == 8 || entry == 15;
            ASSERT_EQ(canvas.Pixel(x, y), expected) << x << ", " << y;
        }
    }
    EXPECT_GT(nChecked, 0);

    SStoredStrip after;
    ASSERT_TRUE(ReadStoredStrip(IDB_MENU, after));
    EXPECT_EQ(after.colors, before.colors) << "the resource's own colour table was changed";
}

TEST(LineBitmapsTest, EveryLineOfEachSideHasAStripOfItsOwn)
{
    std::set<UINT> ids;
    for (const BOOL bInput : {FALSE, TRUE}) {
        for (int i = 0; i < kLineBitmapCount; ++i) {
            CMappedBitmap bmp;
            EXPECT_TRUE(bmp.Load(LineBitmapId(bInput, i))) << bInput << " " << i;
            ids.insert(LineBitmapId(bInput, i));
        }
        // Past either end of the table there is no picture to load.
        for (const int nOutside : {-1, kLineBitmapCount}) {
            CMappedBitmap bmp;
            EXPECT_FALSE(bmp.Load(LineBitmapId(bInput, nOutside))) << bInput << " " << nOutside;
        }
    }
    EXPECT_EQ(ids.size(), 2u * kLineBitmapCount) << "two lines share a strip";
    EXPECT_EQ(ids.count(IDB_MENU), 0u);
}
