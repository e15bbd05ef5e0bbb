#include "draw/ImageButton.h"
#include "fw/Dialog.h"
#include "res/resource.h"

#include "DrawTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

namespace {

// Records the column of every owner-draw request before drawing it.
class CRecordingButton : public CImageButton {
public:
    void DrawImage(HDC hDC, int nColumn) override
    {
        m_columns.push_back(nColumn);
        CImageButton::DrawImage(hDC, nColumn);
    }
    int LastColumn() const { return m_columns.empty() ? -1 : m_columns.back(); }

    std::vector<int> m_columns;
};

// The bar's template, whose menu and mute buttons are owner-drawn and the mute button disabled.
class CButtonHost : public CDialog {
public:
    CButtonHost() : CDialog(IDD_BAR) {}
    ~CButtonHost() override { DestroyWindow(); }

    CRecordingButton m_btnMenu;
    CRecordingButton m_btnMute;

protected:
    void DoDataExchange() override
    {
        BindControl(IDC_MUTE_BUTTON, m_btnMute);
        BindControl(IDC_MENU_BUTTON, m_btnMenu);
    }
};

SIZE WindowSize(HWND hWnd)
{
    RECT rect{};
    ::GetWindowRect(hWnd, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// Compares the tile at the canvas origin with the strip's tile, mapped with the current system
// colours, each stored pixel a whole nScale x nScale block.
void ExpectTile(const CCanvas& canvas, UINT nResID, int column, int row, int nScale)
{
    SStoredStrip stored;
    ASSERT_TRUE(ReadStoredStrip(nResID, stored));
    const int nSize = 20 * nScale;
    for (int y = 0; y < nSize; ++y)
        for (int x = 0; x < nSize; ++x)
            ASSERT_EQ(canvas.Pixel(x, y),
                      MappedColor(stored, stored.Entry(column * 20 + x / nScale, row * 20 + y / nScale)))
                << "strip " << nResID << " column " << column << " row " << row << " scale " << nScale
                << " at " << x << ", " << y;
    EXPECT_EQ(canvas.Pixel(nSize, 0), RGB(1, 2, 3)) << "drew past the tile";
    EXPECT_EQ(canvas.Pixel(0, nSize), RGB(1, 2, 3)) << "drew past the tile";
}

} // namespace

TEST(ImageButtonTest, ColumnFollowsStateAndAction)
{
    struct Case {
        const char* what;
        UINT nState;
        UINT nAction;
        int nColumn;
    };
    const Case cases[] = {
        {"normal", 0, ODA_DRAWENTIRE, 0},
        {"focused", ODS_FOCUS, ODA_DRAWENTIRE, 1},
        {"focus arriving", ODS_FOCUS, ODA_FOCUS, 1},
        {"focus leaving", 0, ODA_FOCUS, 0},
        {"pressed", ODS_SELECTED | ODS_FOCUS, ODA_SELECT, 2},
        {"released", ODS_FOCUS, ODA_SELECT, 1},
        {"released without focus", 0, ODA_SELECT, 1},
        {"repainted while held", ODS_SELECTED, ODA_DRAWENTIRE, 0},
        {"disabled", ODS_DISABLED, ODA_DRAWENTIRE, 3},
        {"disabled and pressed", ODS_DISABLED | ODS_SELECTED, ODA_SELECT, 3},
        {"disabled with focus", ODS_DISABLED | ODS_FOCUS, ODA_FOCUS, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageColumn(c.nState, c.nAction), c.nColumn) << c.what;
}

TEST(ImageButtonTest, DrawItemCopiesTheTileOfRowAndColumnInWholeBlocks)
{
    struct Case {
        UINT nResID;
        int nRow;
        UINT nState;
        UINT nAction;
        int nColumn;
        int nScale;
    };
    const Case cases[] = {
        {IDB_MENU, 0, 0, ODA_DRAWENTIRE, 0, 1},
        {IDB_MENU, 0, ODS_DISABLED, ODA_DRAWENTIRE, 3, 1},
        {IDB_MASTER_OUTPUT, 1, ODS_SELECTED, ODA_SELECT, 2, 1},
        {IDB_MASTER_INPUT, 0, ODS_FOCUS | ODS_NOFOCUSRECT, ODA_FOCUS, 1, 1},
        {IDB_OUTPUT_SOURCE_FIRST + 5, 1, 0, ODA_SELECT, 1, 1},
        {IDB_INPUT_SOURCE_FIRST + 3, 1, ODS_DISABLED, ODA_DRAWENTIRE, 3, 1},
        // Enlarged for finer screens: each picture pixel a block, not a blend of its neighbours.
        {IDB_MENU, 0, ODS_FOCUS | ODS_NOFOCUSRECT, ODA_FOCUS, 1, 2},
        {IDB_OUTPUT_SOURCE_FIRST + 5, 1, 0, ODA_DRAWENTIRE, 0, 2},
        {IDB_INPUT_SOURCE_FIRST + 3, 0, ODS_SELECTED, ODA_SELECT, 2, 3},
    };
    for (const Case& c : cases) {
        CMappedBitmap bmp;
        ASSERT_TRUE(bmp.Load(c.nResID));
        CImageButton button;
        button.SetImage(&bmp, SIZE{20, 20}, c.nRow);
        button.SetScale(c.nScale);
        const CCanvas canvas(24 * c.nScale, 24 * c.nScale, RGB(1, 2, 3));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = c.nAction;
        item.itemState = c.nState;
        item.hDC = canvas.GetDC();
        item.rcItem = RECT{0, 0, 20 * c.nScale, 20 * c.nScale};
        button.DrawItem(&item);
        ExpectTile(canvas, c.nResID, c.nColumn, c.nRow, c.nScale);
    }
}

// The focus cue: the system's dotted rectangle two tile pixels inside the button, only while it
// has the focus and the window shows keyboard cues, in whole blocks when enlarged.
TEST(ImageButtonTest, TheFocusCueShowsWhereTheKeyboardIsUnlessCuesAreHidden)
{
    const struct {
        const char* pszWhat;
        UINT nState;
        int nScale;
        bool bCue;
    } cases[] = {
        {"focused", ODS_FOCUS, 1, true},
        {"focused, enlarged", ODS_FOCUS, 2, true},
        {"focused, cues hidden", ODS_FOCUS | ODS_NOFOCUSRECT, 1, false},
        {"not focused", 0, 1, false},
        {"disabled", ODS_FOCUS | ODS_DISABLED, 1, false},
    };
    CMappedBitmap bmp;
    ASSERT_TRUE(bmp.Load(IDB_MASTER_OUTPUT));
    for (const auto& c : cases) {
        CImageButton button;
        button.SetImage(&bmp, SIZE{20, 20}, 1);
        button.SetScale(c.nScale);
        const CCanvas plain(20 * c.nScale, 20 * c.nScale, RGB(1, 2, 3));
        button.DrawImage(plain.GetDC(), ImageColumn(c.nState, ODA_DRAWENTIRE));
        const CCanvas canvas(20 * c.nScale, 20 * c.nScale, RGB(1, 2, 3));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = c.nState;
        item.hDC = canvas.GetDC();
        button.DrawItem(&item);

        // Only the ring two tile pixels in changes, in whole blocks, on every other pixel.
        int nChanged = 0;
        for (int y = 0; y < 20 * c.nScale; ++y)
            for (int x = 0; x < 20 * c.nScale; ++x) {
                if (canvas.Pixel(x, y) == plain.Pixel(x, y))
                    continue;
                ++nChanged;
                const int tx = x / c.nScale;
                const int ty = y / c.nScale;
                ASSERT_TRUE((tx == 2 || tx == 17 || ty == 2 || ty == 17) && tx >= 2 && tx <= 17 && ty >= 2 &&
                            ty <= 17)
                    << c.pszWhat << " at " << x << ", " << y;
                ASSERT_EQ(canvas.Pixel(x, y), canvas.Pixel(x - x % c.nScale, y - y % c.nScale)) << c.pszWhat;
            }
        if (c.bCue)
            EXPECT_LE(28 * c.nScale * c.nScale, nChanged) << c.pszWhat;
        else
            EXPECT_EQ(0, nChanged) << c.pszWhat;
    }
}

TEST(ImageButtonTest, WithoutAPictureNothingIsDrawn)
{
    const CCanvas canvas(24, 24, RGB(1, 2, 3));
    CImageButton unset;
    unset.DrawImage(canvas.GetDC(), 0);
    CMappedBitmap failed;
    EXPECT_FALSE(failed.Load(999));
    CImageButton blank;
    blank.SetImage(&failed, SIZE{20, 20}, 1);
    blank.DrawImage(canvas.GetDC(), 2);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), RGB(1, 2, 3)) << x << ", " << y;
}

// The buttons of a real dialog: sized by their pictures, drawn by the state the platform
// reports, and never erased.
TEST(ImageButtonTest, BoundButtonsDrawTheirStates)
{
    ::InitCommonControls();
    CButtonHost host;
    ASSERT_TRUE(host.Create(IDD_BAR));
    const HWND hMenu = host.m_btnMenu.GetSafeHwnd();
    const HWND hMute = host.m_btnMute.GetSafeHwnd();
    ASSERT_NE(hMenu, nullptr);
    ASSERT_NE(hMute, nullptr);
    ASSERT_NE(WindowSize(hMenu).cx, 20) << "the template should give another size";

    CMappedBitmap bmpMenu, bmpMute;
    ASSERT_TRUE(bmpMenu.Load(IDB_MENU));
    ASSERT_TRUE(bmpMute.Load(IDB_MASTER_OUTPUT));
    EXPECT_TRUE(host.m_btnMenu.SetImage(&bmpMenu, SIZE{20, 20}, 0));
    EXPECT_TRUE(host.m_btnMute.SetImage(&bmpMute, SIZE{20, 20}, 1));
    for (HWND hWnd : {hMenu, hMute}) {
        EXPECT_EQ(WindowSize(hWnd).cx, 20);
        EXPECT_EQ(WindowSize(hWnd).cy, 20);
    }
    host.m_btnMute.SetScale(2);
    EXPECT_EQ(WindowSize(hMute).cx, 40) << "a button's size follows its picture's scale";
    host.m_btnMute.SetScale(1);

    ::ShowWindow(host.m_hWnd, SW_SHOW);
    ::UpdateWindow(host.m_hWnd);
    EXPECT_EQ(host.m_btnMute.LastColumn(), 3) << "the template's mute button is disabled";
    EXPECT_EQ(host.m_btnMenu.LastColumn(), 1) << "the only enabled tab stop has the focus";

    ::EnableWindow(hMute, TRUE);
    ::UpdateWindow(hMute);
    EXPECT_EQ(host.m_btnMute.LastColumn(), 0);
    ::SetFocus(hMute);
    ::UpdateWindow(host.m_hWnd);
    EXPECT_EQ(host.m_btnMute.LastColumn(), 1) << "focus arrived";
    EXPECT_EQ(host.m_btnMenu.LastColumn(), 0) << "focus left";
    ::SetFocus(hMenu);

    ::SendMessageA(hMenu, BM_SETSTATE, TRUE, 0);
    ::UpdateWindow(hMenu);
    EXPECT_EQ(host.m_btnMenu.LastColumn(), 2) << "pressed";
    ::SendMessageA(hMenu, BM_SETSTATE, FALSE, 0);
    ::UpdateWindow(hMenu);
    EXPECT_EQ(host.m_btnMenu.LastColumn(), 1) << "just released";

    const CCanvas canvas(4, 4, RGB(1, 2, 3));
    EXPECT_EQ(::SendMessageA(hMenu, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.GetDC()), 0), TRUE);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(1, 2, 3)) << "the background was erased";
}
