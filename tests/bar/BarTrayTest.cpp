// The bar and its tray icon: what hides the bar and brings it back, where its popup menu opens,
// the icon's picture, and the icon's life with a restarting shell and a closing bar.
#include "BarTestSupport.h"

#include "bar/TrayIcon.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <string>
#include <vector>

namespace {

class BarTrayTest : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        UseCards(kSampleCard);
    }
};

TEST_F(BarTrayTest, TheBarGoesToTheTrayAndComesBackOnTheUsersEvents)
{
    // One event after the other, each from where the one before left the bar.
    const struct {
        const char* pszEvent;
        UINT nMessage;
        WPARAM wParam;
        LPARAM lParam;
        bool bShown;
    } events[] = {
        {"Escape", WM_COMMAND, MAKEWPARAM(ID_HIDE_BAR, 1), 0, false},
        {"pointer over the icon", WM_TRAYNOTIFY, IDI_BAR, WM_MOUSEMOVE, false},
        {"left press on the icon", WM_TRAYNOTIFY, IDI_BAR, WM_LBUTTONDOWN, false},
        {"right release on the icon", WM_TRAYNOTIFY, IDI_BAR, WM_RBUTTONUP, false},
        {"left release on the icon", WM_TRAYNOTIFY, IDI_BAR, WM_LBUTTONUP, true},
        {"menu's minimise", WM_COMMAND, SC_MINIMIZE, 0, false},
        {"double-click on the icon", WM_TRAYNOTIFY, IDI_BAR, WM_LBUTTONDBLCLK, true},
        {"double-click on the body", WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5), false},
        {"menu's restore", WM_COMMAND, SC_RESTORE, 0, true},
    };
    const CBarDlg& bar = StartBar();
    for (const auto& e : events) {
        ::SendMessageA(bar.m_hWnd, e.nMessage, e.wParam, e.lParam);
        EXPECT_EQ(e.bShown, ::IsWindowVisible(bar.m_hWnd) != FALSE) << e.pszEvent;
        EXPECT_EQ(!e.bShown, IconShown(bar.m_hWnd)) << e.pszEvent;
    }
}

TEST_F(BarTrayTest, MinimiseFromOutsideGoesToTheTrayAndNeitherSizeNorPlaceChanges)
{
    // What the taskbar button, minimise-all and the platform's window menu send.
    CBarDlg& bar = StartBar();
    ::SetWindowPos(bar.m_hWnd, nullptr, 120, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT rcPlaced{};
    ::GetWindowRect(bar.m_hWnd, &rcPlaced);
    const auto expectPlaced = [&](const char* pszAfter) {
        RECT rc{};
        ::GetWindowRect(bar.m_hWnd, &rc);
        EXPECT_TRUE(::EqualRect(&rc, &rcPlaced)) << pszAfter;
        EXPECT_FALSE(::IsIconic(bar.m_hWnd)) << pszAfter;
        EXPECT_FALSE(::IsZoomed(bar.m_hWnd)) << pszAfter;
    };

    ::SendMessageA(bar.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(::IsWindowVisible(bar.m_hWnd));
    EXPECT_TRUE(IconShown(bar.m_hWnd));
    expectPlaced("minimise");
    ::SendMessageA(bar.m_hWnd, WM_COMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(::IsWindowVisible(bar.m_hWnd));

    // 0xF032 is the maximise of a double-click on a caption.
    for (const WPARAM nCommand : {WPARAM{SC_MAXIMIZE}, WPARAM{SC_MAXIMIZE | 2}}) {
        ::SendMessageA(bar.m_hWnd, WM_SYSCOMMAND, nCommand, 0);
        expectPlaced("maximise");
    }

    // Minimised by another program's ShowWindow, the platform's restore (the taskbar button)
    // brings it back, and it saves the place it is restored to.
    ::ShowWindow(bar.m_hWnd, SW_MINIMIZE);
    ::SendMessageA(bar.m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    expectPlaced("restore");
    ::ShowWindow(bar.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(bar.m_hWnd));
    EndBar();
    EXPECT_EQ(rcPlaced.left, m_app.GetProfileInt("Settings", "X Coordinate", -1));
    EXPECT_EQ(rcPlaced.top, m_app.GetProfileInt("Settings", "Y Coordinate", -1));
}

TEST_F(BarTrayTest, PopupMenuOpensBesideThePointerOrBelowTheMenuButton)
{
    // From the bar it opens to the right of the pointer; from the icon at the screen's edge, to
    // the left. Asked from the keyboard (no point), it opens where the menu button opens it.
    enum Where { RightOfPointer, LeftOfPointer, BelowMenuButton };
    const struct {
        const char* pszWhere;
        UINT nMessage;
        LPARAM lParam;
        Where where;
    } cases[] = {
        {"right press on the body", WM_RBUTTONDOWN, MAKELPARAM(5, 5), RightOfPointer},
        {"right press on the icon", WM_TRAYNOTIFY, WM_RBUTTONDOWN, LeftOfPointer},
        {"Shift+F10 on the slider", WM_CONTEXTMENU, MAKELPARAM(-1, -1), BelowMenuButton},
    };
    CBarDlg& bar = StartBar();
    const POINT pt{400, 300};
    RECT rcButton{};
    ::GetWindowRect(bar.m_btnMenu.m_hWnd, &rcButton);
    for (const auto& c : cases) {
        ::SetCursorPos(pt.x, pt.y);
        const WPARAM wParam = c.nMessage == WM_TRAYNOTIFY ? IDI_BAR
                              : c.nMessage == WM_CONTEXTMENU
                                  ? reinterpret_cast<WPARAM>(bar.m_sliderVolume.m_hWnd)
                                  : 0;
        const auto rcMenu = MenuOpenedBy([&] { ::SendMessageA(bar.m_hWnd, c.nMessage, wParam, c.lParam); });
        Pump();
        ASSERT_TRUE(rcMenu.has_value()) << c.pszWhere;
        ASSERT_LT(rcMenu->left, rcMenu->right) << c.pszWhere;
        const POINT ptExpected = c.where == BelowMenuButton ? POINT{rcButton.left, rcButton.bottom + 1} : pt;
        EXPECT_EQ(ptExpected.x, c.where == LeftOfPointer ? rcMenu->right : rcMenu->left) << c.pszWhere;
        EXPECT_EQ(ptExpected.y, rcMenu->top) << c.pszWhere;
    }
}

TEST_F(BarTrayTest, MiddleClickOnTheIconTogglesTheMuteAndTheIconsPicture)
{
    // On release, as the left button restores; the press alone does nothing.
    const struct {
        const char* pszEvent;
        LPARAM lMouse;
        DWORD dwMuted;
    } events[] = {
        {"middle press", WM_MBUTTONDOWN, 0},
        {"middle release", WM_MBUTTONUP, 1},
        {"second middle release", WM_MBUTTONUP, 0},
    };
    CBarDlg& bar = StartBar();
    ::SendMessageA(bar.m_hWnd, WM_COMMAND, ID_HIDE_BAR, 0);
    for (const auto& e : events) {
        ::SendMessageA(bar.m_hWnd, WM_TRAYNOTIFY, IDI_BAR, e.lMouse);
        EXPECT_EQ(std::vector<DWORD>{e.dwMuted}, sim::GetValues(0, 2)) << e.pszEvent;
        EXPECT_EQ(e.dwMuted ? IDI_MUTED : IDI_BAR, bar.m_pTrayIcon->GetIconID()) << e.pszEvent;
        EXPECT_FALSE(::IsWindowVisible(bar.m_hWnd)) << e.pszEvent;
    }

    // A line without a mute control has nothing to toggle.
    EndBar();
    UseCards("card Sim Audio\n"
             "dest 0x0 4 2 Speakers\n"
             "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n");
    CBarDlg& plain = StartBar();
    ::SendMessageA(plain.m_hWnd, WM_COMMAND, ID_HIDE_BAR, 0);
    const unsigned nBefore = Writes();
    ::SendMessageA(plain.m_hWnd, WM_TRAYNOTIFY, IDI_BAR, WM_MBUTTONUP);
    EXPECT_EQ(nBefore, Writes());
}

TEST_F(BarTrayTest, LeftPressOnTheBodyStartsTheSystemsMoveAndColourChangesRepaintTheMuteButton)
{
    CBarDlg& bar = StartBar();
    ::SendMessageA(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    // Taken off the queue unhandled: the move would wait for the mouse.
    MSG msg{};
    ASSERT_TRUE(::PeekMessageA(&msg, bar.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(SC_MOVE | HTCAPTION), msg.wParam);
    EXPECT_EQ(0, msg.lParam);

    ::UpdateWindow(bar.m_hWnd);
    ::UpdateWindow(bar.m_btnMute.m_hWnd);
    ::SendMessageA(bar.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_TRUE(::GetUpdateRect(bar.m_btnMute.m_hWnd, nullptr, FALSE));
    EXPECT_FALSE(::GetUpdateRect(bar.m_sliderVolume.m_hWnd, nullptr, FALSE));
}

TEST_F(BarTrayTest, StartInTrayWithTheSpeakersMutedShowsTheStruckIconAtOnce)
{
    Store("Start In Tray", 1);
    sim::SetValues(0, 2, {1});
    CBarDlg& bar = StartBar();
    EXPECT_FALSE(::IsWindowVisible(bar.m_hWnd));
    EXPECT_TRUE(IconShown(bar.m_hWnd));
    EXPECT_EQ(IDI_MUTED, bar.m_pTrayIcon->GetIconID());
}

TEST_F(BarTrayTest, RestartedShellGetsTheIconBackOnlyFromAHiddenBar)
{
    CBarDlg& bar = StartBar();
    ::SendMessageA(bar.m_hWnd, TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(IconShown(bar.m_hWnd));

    ::SendMessageA(bar.m_hWnd, WM_COMMAND, ID_HIDE_BAR, 0);
    // The shell forgets its icons when it goes.
    NOTIFYICONDATAA nid = bar.m_pTrayIcon->m_nid;
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
    ASSERT_FALSE(IconShown(bar.m_hWnd));
    ::SendMessageA(bar.m_hWnd, TaskbarCreatedMessage(), 0, 0);
    EXPECT_TRUE(IconShown(bar.m_hWnd));
}

// Whether the bar's icon is still in the tray when its window is being destroyed.
HHOOK g_hDestroyHook = nullptr;
HWND g_hWatched = nullptr;
bool g_bIconAtDestroy = false;

LRESULT CALLBACK SeeDestroy(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_DESTROY && pMsg->hwnd == g_hWatched) {
        g_bIconAtDestroy = IconShown(pMsg->hwnd);
        NOTIFYICONDATAA nid{};
        nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
        nid.hWnd = pMsg->hwnd;
        nid.uID = IDI_BAR;
        ::Shell_NotifyIconA(NIM_DELETE, &nid);
    }
    return ::CallNextHookEx(g_hDestroyHook, nCode, wParam, lParam);
}

TEST_F(BarTrayTest, ClosingRemovesTheIconOfAHiddenBarAndNothingOfAShownOne)
{
    // A shown bar has no icon to remove: an icon put there under its name by someone else
    // shows that the shutdown asks the shell for nothing.
    for (const bool bHidden : {true, false}) {
        CBarDlg& bar = StartBar();
        if (bHidden) {
            ::SendMessageA(bar.m_hWnd, WM_COMMAND, ID_HIDE_BAR, 0);
        }
        else {
            NOTIFYICONDATAA nid = bar.m_pTrayIcon->m_nid;
            ::Shell_NotifyIconA(NIM_ADD, &nid);
        }
        ASSERT_TRUE(IconShown(bar.m_hWnd));
        g_hWatched = bar.m_hWnd;
        g_hDestroyHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &SeeDestroy, nullptr, ::GetCurrentThreadId());
        ::SendMessageA(bar.m_hWnd, WM_CLOSE, 0, 0);
        Pump();
        ::UnhookWindowsHookEx(g_hDestroyHook);
        EXPECT_FALSE(::IsWindow(g_hWatched));
        EXPECT_EQ(!bHidden, g_bIconAtDestroy) << (bHidden ? "hidden" : "shown");
    }
}

} // namespace
