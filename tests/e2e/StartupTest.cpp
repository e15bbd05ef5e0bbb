// Copies of the program started as real processes: first and later copies, their roles, where
// their bars open, what they save, and the running-copy counter they share.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using StartupTest = CCopyTestOn<kSampleCard>;

TEST_F(StartupTest, FirstStartWithNoSettingsShowsTheBarOnTopAtTheOriginAndSavesEverything)
{
    CBarProcess bar;
    ASSERT_TRUE(bar.Started());
    const HWND hWnd = bar.BarWindow();
    ASSERT_NE(nullptr, hWnd);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    EXPECT_TRUE(::GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(0, WindowRect(hWnd).left);
    EXPECT_EQ(0, WindowRect(hWnd).top);
    EXPECT_EQ(1u, Setting("Instance Count"));

    ASSERT_TRUE(bar.Close());
    EXPECT_EQ(0u, bar.WaitForExit());
    const std::map<std::string, DWORD> expected{
        {"X Coordinate", 0},  {"Y Coordinate", 0},   {"Start In Tray", 0},
        {"Always On Top", 1}, {"Component Type", 4}, {"Menu Index", 9},
        {"Card Index", 0},    {"Instance Count", 0}, {"Input Volume", 0},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(value, Setting(name.c_str())) << name;
}

TEST_F(StartupTest, OnlyAFirstCopyResetsTheCounter)
{
    m_settings.Write("Instance Count", 5);
    {
        CBarProcess first;
        EXPECT_EQ(1u, Setting("Instance Count"));
        {
            CBarProcess second("r0");
            EXPECT_EQ(2u, Setting("Instance Count"));
            ASSERT_TRUE(second.Close());
            EXPECT_EQ(1u, Setting("Instance Count"));
            EXPECT_EQ(1u, Setting("Input Volume"));
        }
        ASSERT_TRUE(first.Close());
    }
    EXPECT_EQ(0u, Setting("Instance Count"));
    // The copy that saved last decides what the next start reads.
    EXPECT_EQ(0u, Setting("Input Volume"));
}

TEST_F(StartupTest, LaterCopyOpensBeneathAHiddenBarOfAnyLetterCaseAndKeepsTheCounter)
{
    m_settings.Write("Instance Count", 3);
    m_settings.Write("Start In Tray", 1);
    m_settings.Write("X Coordinate", 500);
    const CForeignBar other("SONOBAR", RECT{100, 200, 250, 230}, false, true);

    CRunningBar bar("v1");
    ASSERT_NE(nullptr, bar.hBar);
    // A role word shows the bar whatever Start In Tray says.
    EXPECT_TRUE(::IsWindowVisible(bar.hBar));
    EXPECT_EQ(100, WindowRect(bar.hBar).left);
    EXPECT_EQ(230, WindowRect(bar.hBar).top);
    EXPECT_EQ(4u, Setting("Instance Count"));

    ASSERT_TRUE(bar.Close());
    EXPECT_EQ(3u, Setting("Instance Count"));
    EXPECT_EQ(1u, Setting("Card Index"));
    EXPECT_EQ(0u, Setting("Input Volume"));
}

TEST_F(StartupTest, WindowTitledLikeABarWithoutTheSliderIsNoBar)
{
    m_settings.Write("Instance Count", 3);
    m_settings.Write("X Coordinate", 500);
    m_settings.Write("Y Coordinate", 40);
    const CForeignBar other("sonobar", RECT{100, 200, 250, 230}, true, false);

    // A first copy: the counter starts again, and the bar opens at the stored place.
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    EXPECT_EQ(500, WindowRect(bar.hBar).left);
    EXPECT_EQ(40, WindowRect(bar.hBar).top);
    EXPECT_EQ(1u, Setting("Instance Count"));
}

TEST_F(StartupTest, LaterCopyOpensAboveABarAtTheBottomOfTheScreen)
{
    const int nScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const CForeignBar other("Sonobar", RECT{40, nScreenHeight - 35, 190, nScreenHeight - 5}, true, true);

    CRunningBar bar("r0");
    ASSERT_NE(nullptr, bar.hBar);
    EXPECT_EQ(40, WindowRect(bar.hBar).left);
    EXPECT_EQ(nScreenHeight - 65, WindowRect(bar.hBar).top);
}

TEST_F(StartupTest, StartInTrayHidesEveryCopyStartedWithoutRoleWord)
{
    m_settings.Write("Start In Tray", 1);
    const struct {
        const char* pszTail;
        bool bVisible;
    } cases[] = {
        {"", false},
        {"v0", true},
        {"V0", false}, // not a role word: starts like a copy without one, so never unseen
    };
    for (const auto& c : cases) {
        CRunningBar bar(c.pszTail);
        ASSERT_NE(nullptr, bar.hBar) << c.pszTail;
        EXPECT_EQ(c.bVisible, ::IsWindowVisible(bar.hBar) != FALSE) << "tail '" << c.pszTail << "'";
        // A bar out of sight takes the keyboard from no one.
        if (!c.bVisible)
            EXPECT_NE(bar.hBar, ::GetForegroundWindow()) << "tail '" << c.pszTail << "'";
        ASSERT_TRUE(bar.Close()) << c.pszTail;
        EXPECT_EQ(1u, Setting("Start In Tray"));
    }
}

TEST_F(StartupTest, StoredPlaceOffOrBarelyOnTheScreenComesWhollyOntoItAndAStoredCardBeyondTheDevicesCardZero)
{
    RECT rcWork{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    const struct {
        int x;
        int y;
    } cases[] = {
        {-5, ::GetSystemMetrics(SM_CYSCREEN)},  // below the screen's last row
        {::GetSystemMetrics(SM_CXSCREEN), 100}, // right of its last column
        // on the screen, though with only its top left pixel
        {::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1},
    };
    for (const auto& c : cases) {
        m_settings.Write("X Coordinate", static_cast<DWORD>(c.x));
        m_settings.Write("Y Coordinate", static_cast<DWORD>(c.y));
        m_settings.Write("Card Index", 1);

        CRunningBar bar;
        ASSERT_NE(nullptr, bar.hBar);
        const RECT rc = WindowRect(bar.hBar);
        EXPECT_TRUE(rc.left >= rcWork.left && rc.right <= rcWork.right) << c.x << "," << c.y;
        EXPECT_TRUE(rc.top >= rcWork.top && rc.bottom <= rcWork.bottom) << c.x << "," << c.y;
        EXPECT_TRUE(rc.left == 0 || rc.right == rcWork.right) << c.x;
        EXPECT_TRUE(rc.top == 100 || rc.bottom == rcWork.bottom) << c.y;
        ASSERT_TRUE(bar.Close());
        // Saved where it was seen, so the next start is visible too.
        EXPECT_EQ(static_cast<DWORD>(rc.left), Setting("X Coordinate"));
        EXPECT_EQ(static_cast<DWORD>(rc.top), Setting("Y Coordinate"));
        EXPECT_EQ(0u, Setting("Card Index"));
    }
}

TEST_F(StartupTest, StoredSourceLineIsKeptAndAStaleOneFallsBackToTheMaster)
{
    const struct {
        DWORD dwInput;
        DWORD dwComponentType;
        DWORD dwMenuIndex;
        DWORD dwSavedType;
        DWORD dwSavedIndex;
    } cases[] = {
        {1, 0x1003, 0, 0x1003, 0}, // the microphone of the recording side
        {1, 4, 9, 7, 9},           // the master entry: the recording master, whatever was stored
        {0, 0x1005, 3, 4, 9},      // no compact disc on this card: the speakers master
    };
    for (const auto& c : cases) {
        m_settings.Write("Input Volume", c.dwInput);
        m_settings.Write("Component Type", c.dwComponentType);
        m_settings.Write("Menu Index", c.dwMenuIndex);
        CBarProcess bar;
        ASSERT_TRUE(bar.Close());
        EXPECT_EQ(c.dwSavedType, Setting("Component Type")) << c.dwComponentType;
        EXPECT_EQ(c.dwSavedIndex, Setting("Menu Index")) << c.dwComponentType;
    }
}

TEST_F(StartupTest, EscapeHidesTheBarAndNeverClosesIt)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    ::PostMessageA(bar.hBar, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageA(bar.hBar, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowVisible(bar.hBar); }));
    EXPECT_FALSE(bar.WaitForExit(500).has_value());

    // Enter does not close it either; a close request does.
    ::PostMessageA(bar.hBar, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(bar.WaitForExit(500).has_value());
    ASSERT_TRUE(bar.Close());
    EXPECT_EQ(0u, Setting("Instance Count"));
}

TEST_F(StartupTest, EndOfLogonSavesAndOnlyARealEndTakesTheCopyOffTheCounter)
{
    const struct {
        WPARAM bEnding;
        DWORD dwCountAfterwards;
    } cases[] = {
        {FALSE, 1}, // the logon goes on after all, and so does the copy: it is still counted
        {TRUE, 0},  // taken off once; leaving later does not take it off again
    };
    for (const auto& c : cases) {
        m_settings.Write("Always On Top", 0);
        CRunningBar bar;
        ASSERT_NE(nullptr, bar.hBar);
        m_settings.Write("Always On Top", 1);

        DWORD_PTR dwResult = 0;
        ::SendMessageTimeoutA(bar.hBar, WM_ENDSESSION, c.bEnding, 0, SMTO_BLOCK, 5000, &dwResult);
        EXPECT_EQ(0u, Setting("Always On Top")) << c.bEnding;
        EXPECT_EQ(c.dwCountAfterwards, Setting("Instance Count")) << c.bEnding;
        EXPECT_FALSE(bar.WaitForExit(300).has_value());

        ASSERT_TRUE(bar.Close());
        EXPECT_EQ(0u, Setting("Instance Count")) << c.bEnding;
    }
}

} // namespace
