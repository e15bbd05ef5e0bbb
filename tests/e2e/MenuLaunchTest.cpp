// Further copies started from the bar's menu and after a change of the sound hardware, with real
// copies of the test build: what they are started with, where their bars open, the running-copy
// counter; and the menu itself, opened and used with real mouse clicks.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "app/InstanceRole.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

// A choice from the bar's menu, as the menu sends it.
void Choose(HWND hBar, UINT nID)
{
    ::PostMessageA(hBar, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

std::string TailOf(const CBarProcess& process)
{
    return CommandTail(process.CommandLine());
}

bool Overlap(const RECT& rcA, const RECT& rcB)
{
    RECT rc{};
    return ::IntersectRect(&rc, &rcA, &rcB) != FALSE;
}

class MenuLaunchTest : public CCopyTest {
protected:
    MenuLaunchTest() : CCopyTest(std::string(kSampleCard) + kSpeakersOnlyCard) {}
};

TEST_F(MenuLaunchTest, SideAndCardCommandsStartTheirRoleWordBeneathTheBar)
{
    const struct {
        const char* pszTail;
        UINT nCommand;
        const char* pszStarted;
    } cases[] = {
        {"v1", ID_INPUT_VOLUME, "r1"},
        {"r0", ID_OUTPUT_VOLUME, "v0"},
        {"r0", ID_CARD2, "v1"},
        {"v1", ID_CARD1, "v0"},
    };
    for (const auto& c : cases) {
        CRunningBar first(c.pszTail);
        ASSERT_NE(nullptr, first.hBar) << c.pszTail;
        const std::set<DWORD> setBefore = BarProcessIds();

        Choose(first.hBar, c.nCommand);
        const auto vecStarted = AdoptNewBars(setBefore, 1);
        ASSERT_EQ(1u, vecStarted.size()) << c.nCommand;
        const CBarProcess& started = *vecStarted.front();
        EXPECT_EQ(c.pszStarted, TailOf(started)) << c.nCommand;
        const RECT rcFirst = WindowRect(first.hBar);
        const RECT rcStarted = WindowRect(started.BarWindow());
        EXPECT_EQ(rcFirst.left, rcStarted.left) << c.nCommand;
        EXPECT_EQ(rcFirst.bottom, rcStarted.top) << c.nCommand;
        EXPECT_EQ(2u, Setting("Instance Count")) << c.nCommand;

        // The launching bar keeps its own side and card.
        ASSERT_TRUE(vecStarted.front()->Close());
        ASSERT_TRUE(first.Close());
        EXPECT_EQ(std::string(c.pszTail) == "r0" ? 1u : 0u, Setting("Input Volume")) << c.nCommand;
    }
}

TEST_F(MenuLaunchTest, ACardAndSideWhoseBarRunsIsNotStartedAgain)
{
    // A burst of the same card's command starts one copy, whether or not its bar stands yet.
    CRunningBar first;
    ASSERT_NE(nullptr, first.hBar);
    const std::set<DWORD> setBefore = BarProcessIds();
    for (int i = 0; i < 10; ++i)
        Choose(first.hBar, ID_CARD2);
    const auto vecStarted = AdoptNewBars(setBefore, 1);
    ASSERT_EQ(1u, vecStarted.size());
    EXPECT_EQ("v1", TailOf(*vecStarted.front()));

    // The bar's own card and side, from its menu and from the other bar's: it is already there.
    const std::set<DWORD> setTwo = BarProcessIds();
    Choose(first.hBar, ID_OUTPUT_VOLUME);
    Choose(first.hBar, ID_CARD1);
    Choose(vecStarted.front()->BarWindow(), ID_CARD1);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == first.hBar; }));
    EXPECT_TRUE(AdoptNewBars(setTwo, 0).empty());
    EXPECT_EQ(2u, Setting("Instance Count"));
}

TEST_F(MenuLaunchTest, CopyOfARenamedProgramStartsItselfAndNothingOnTheSearchPath)
{
    // The test's own directory holds sonobar.exe, the product: the program that a search for
    // "sonobar.exe" would find first.
    const CProgramCopy program("sonobar renamed", "volume bar.exe");
    ASSERT_TRUE(program.Made());
    char szOldDirectory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, szOldDirectory);
    ::SetCurrentDirectoryA(ProgramDirectory().c_str());

    {
        CBarProcess first("", program.Path());
        ASSERT_NE(nullptr, first.BarWindow());
        const std::set<DWORD> setBefore = BarProcessIds();
        Choose(first.BarWindow(), ID_INPUT_VOLUME);
        const auto vecStarted = AdoptNewBars(setBefore, 1);
        ASSERT_EQ(1u, vecStarted.size());
        EXPECT_EQ(Lower(program.Path()), Lower(vecStarted.front()->ProgramPath()));
        EXPECT_EQ("r0", TailOf(*vecStarted.front()));
    }

    ::SetCurrentDirectoryA(szOldDirectory);
}

TEST_F(MenuLaunchTest, DeviceChangeLeavesOneOutputBarPerCardAndTheCounterRight)
{
    const struct {
        const char* pszCase;
        bool bKillOne;   // its count stays in the counter: no copy reads 1 any more
        bool bAllAtOnce; // every copy reads the counter at the same moment
    } cases[] = {
        {"told one after another", false, false},
        {"told all at once", false, true},
        {"one killed before", true, false},
        {"one killed before, the rest told at once", true, true},
    };
    for (const auto& c : cases) {
        m_settings.Clear();
        std::vector<std::unique_ptr<CBarProcess>> vecOld;
        for (const char* pszTail : {"", "r0", "v1"})
            vecOld.push_back(std::make_unique<CBarProcess>(pszTail));
        ASSERT_EQ(3u, Setting("Instance Count")) << c.pszCase;
        if (c.bKillOne) {
            vecOld.back()->Kill();
            vecOld.pop_back();
        }
        const std::set<DWORD> setOld = BarProcessIds();

        std::vector<HWND> vecBars;
        for (const auto& pOld : vecOld)
            vecBars.push_back(pOld->BarWindow());
        for (const HWND hBar : vecBars) {
            if (c.bAllAtOnce) {
                ::PostMessageA(hBar, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
            }
            else {
                DWORD_PTR dwResult = 0;
                ::SendMessageTimeoutA(hBar, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 20000,
                                      &dwResult);
                EXPECT_EQ(TRUE, dwResult) << c.pszCase;
            }
        }
        for (const auto& pOld : vecOld)
            EXPECT_EQ(0u, pOld->WaitForExit(20000)) << c.pszCase;

        const auto vecFresh = AdoptNewBars(setOld, 2);
        std::vector<std::string> vecTails;
        for (const auto& pFresh : vecFresh)
            vecTails.push_back(TailOf(*pFresh));
        std::sort(vecTails.begin(), vecTails.end());
        EXPECT_EQ((std::vector<std::string>{"v0", "v1"}), vecTails) << c.pszCase;
        EXPECT_EQ(2u, Setting("Instance Count")) << c.pszCase;
        for (const auto& pFresh : vecFresh)
            pFresh->Close();
    }
}

TEST_F(MenuLaunchTest, OtherDeviceEventsChangeNothing)
{
    CBarProcess first;
    CBarProcess second("r1");
    const std::set<DWORD> setBefore = BarProcessIds();
    for (const HWND hBar : {first.BarWindow(), second.BarWindow()}) {
        for (const WPARAM nEvent : {DBT_DEVICEARRIVAL, DBT_DEVICEREMOVECOMPLETE, DBT_CONFIGCHANGED}) {
            DWORD_PTR dwResult = 0;
            ::SendMessageTimeoutA(hBar, WM_DEVICECHANGE, nEvent, 0, SMTO_NORMAL, 5000, &dwResult);
            EXPECT_EQ(TRUE, dwResult) << nEvent;
        }
    }
    EXPECT_FALSE(first.WaitForExit(500).has_value());
    EXPECT_FALSE(second.WaitForExit(0).has_value());
    EXPECT_EQ(setBefore, BarProcessIds());
    EXPECT_EQ(2u, Setting("Instance Count"));
}

TEST_F(MenuLaunchTest, SecondCopyOpensBeneathTheFirstBarNotBeneathItsNoDriverMessage)
{
    // No card at all: each copy shows the no-driver message, captioned "Sonobar" like its bar.
    UseSimulatedCards("");
    CBarProcess first;
    CBarProcess second("v0");
    const HWND hFirst = first.BarWindow();
    const HWND hSecond = second.BarWindow();
    ASSERT_NE(nullptr, hFirst);
    ASSERT_NE(nullptr, hSecond);
    EXPECT_EQ(WindowRect(hFirst).left, WindowRect(hSecond).left);
    EXPECT_EQ(WindowRect(hFirst).bottom, WindowRect(hSecond).top);
    EXPECT_EQ(2u, Setting("Instance Count"));
    DismissMessageBoxes(first.ProcessId());
    DismissMessageBoxes(second.ProcessId());
}

TEST_F(MenuLaunchTest, ThreeCopiesNeverOverlap)
{
    const struct {
        const char* pszCase;
        bool bTogether;
    } cases[] = {
        {"the first bar raised before the third starts", false},
        {"three started at the same moment", true},
    };
    for (const auto& c : cases) {
        m_settings.Clear();
        std::vector<std::unique_ptr<CBarProcess>> vecCopies;
        for (const char* pszTail : {"", "v0", "v1"}) {
            if (!c.bTogether && vecCopies.size() == 2) {
                // The first bar comes first in z-order, which is the order in which a starting
                // copy finds the bars.
                ::SetWindowPos(vecCopies.front()->BarWindow(), HWND_TOP, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            vecCopies.push_back(std::make_unique<CBarProcess>(pszTail, std::string(), !c.bTogether));
        }
        for (const auto& pCopy : vecCopies)
            pCopy->WaitUntilStarted();

        std::vector<RECT> vecRects;
        for (const auto& pCopy : vecCopies) {
            ASSERT_NE(nullptr, pCopy->BarWindow()) << c.pszCase;
            vecRects.push_back(WindowRect(pCopy->BarWindow()));
        }
        for (size_t i = 0; i < vecRects.size(); ++i) {
            for (size_t j = i + 1; j < vecRects.size(); ++j)
                EXPECT_FALSE(Overlap(vecRects[i], vecRects[j]))
                    << c.pszCase << ": bars " << i << " and " << j;
        }
        EXPECT_EQ(3u, Setting("Instance Count")) << c.pszCase;
    }
}

// The rows of a menu laid out here as the bar's menu is: the platform's window menu of a window
// styled like the bar, less size and maximise, then the given rows ("" a separator). Each row's
// top and bottom, measured from the menu's top edge while the menu is open.
class CMenuRows {
public:
    explicit CMenuRows(const std::vector<std::string>& vecOwnRows)
    {
        const HWND hWnd =
            ::CreateWindowExA(0, "STATIC", "rows", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 600,
                              400, 100, 30, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        s_hMenu = ::GetSystemMenu(hWnd, FALSE);
        ::DeleteMenu(s_hMenu, SC_SIZE, MF_BYCOMMAND);
        ::DeleteMenu(s_hMenu, SC_MAXIMIZE, MF_BYCOMMAND);
        m_nPlatformRows = ::GetMenuItemCount(s_hMenu);
        UINT nID = 1;
        for (const std::string& strRow : vecOwnRows) {
            if (strRow.empty())
                ::AppendMenuA(s_hMenu, MF_SEPARATOR, 0, nullptr);
            else
                ::AppendMenuA(s_hMenu, MF_STRING, nID++, strRow.c_str());
        }
        s_vecRows.clear();
        const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 100, &CMenuRows::OnTimer);
        ::TrackPopupMenu(s_hMenu, TPM_RETURNCMD, 600, 100, 0, hWnd, nullptr);
        ::KillTimer(nullptr, nTimer);
        m_vecRows = s_vecRows;
        ::DestroyWindow(hWnd);
    }

    // The row of the bar's own row nOwnRow: its top and bottom below the menu's top edge.
    std::pair<LONG, LONG> Row(int nOwnRow) const
    {
        const size_t nRow = static_cast<size_t>(m_nPlatformRows + nOwnRow);
        return nRow < m_vecRows.size() ? m_vecRows[nRow] : std::pair<LONG, LONG>{-1, -1};
    }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        const HWND hMenuWindow = ::FindWindowA("#32768", nullptr);
        if (!hMenuWindow || !::IsWindowVisible(hMenuWindow))
            return;
        const RECT rcMenu = WindowRect(hMenuWindow);
        for (int i = 0; i < ::GetMenuItemCount(s_hMenu); ++i) {
            RECT rc{};
            // Without a window the rectangle is the one on the open menu's own window.
            ::GetMenuItemRect(nullptr, s_hMenu, static_cast<UINT>(i), &rc);
            s_vecRows.emplace_back(rc.top - rcMenu.top, rc.bottom - rcMenu.top);
        }
        ::EndMenu();
    }

    static inline HMENU s_hMenu = nullptr;
    static inline std::vector<std::pair<LONG, LONG>> s_vecRows;
    int m_nPlatformRows = 0;
    std::vector<std::pair<LONG, LONG>> m_vecRows;
};

// Where the copy's popup menu stands once it is open; nothing when it does not open.
std::optional<RECT> OpenedMenuRect(DWORD dwProcessId)
{
    HWND hMenu = nullptr;
    if (!WaitFor([&] { return (hMenu = OpenMenuOf(dwProcessId)) != nullptr; }))
        return std::nullopt;
    return WindowRect(hMenu);
}

TEST_F(MenuLaunchTest, RealClicksOpenTheMenuChooseALineAndOpenTheInputSide)
{
    // One card: the menu ends with its one line, "Wave".
    UseSimulatedCards(kSampleCard);
    const std::vector<std::string> vecOwnRows = {
        "",
        "&About Sonobar",
        "",
        "Start In &Tray",
        "Start With &Windows",
        "&Keys...", // the global keys
        "&Always OnTop",
        "",
        "&Output Volume",
        "&Input Volume",
        "",
        "Master Volme",
        "Wave",
    };
    const CMenuRows rows(vecOwnRows);
    const auto rowOf = [&](const char* pszText) {
        return rows.Row(
            static_cast<int>(std::find(vecOwnRows.begin(), vecOwnRows.end(), pszText) - vecOwnRows.begin()));
    };

    const std::string strLog = UseSimulatorLog();
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    const RECT rcButton = WindowRect(bar.hMenuButton);

    // 1. The menu button opens the menu beneath itself.
    ASSERT_TRUE(XClick(Centre(rcButton)));
    const auto rcMenu = OpenedMenuRect(bar.ProcessId());
    ASSERT_TRUE(rcMenu.has_value());
    EXPECT_EQ(rcButton.left, rcMenu->left);
    EXPECT_EQ(rcButton.bottom + 1, rcMenu->top);
    const RECT rcBar = WindowRect(bar.hBar);
    EXPECT_TRUE(XScreenshot(RECT{0, 0, std::max(rcBar.right, rcMenu->right) + 8, rcMenu->bottom + 8},
                            ScreenshotPath("menu.png")));

    // 2. A click on the line entry makes the bar drive that line.
    const auto wave = rowOf("Wave");
    ASSERT_TRUE(XClick(POINT{rcMenu->left + 30, rcMenu->top + (wave.first + wave.second) / 2}));
    ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; }));
    // The next slider move writes the wave line's volume (control 5), not the master's.
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(XKeys("Right"));
    EXPECT_TRUE(WaitFor([&] { return !ProgramWrites(strLog, 5).empty(); }));
    EXPECT_TRUE(ProgramWrites(strLog, 1).empty());

    // 3. "&Input Volume" opens a bar for the recording side beneath this one.
    const std::set<DWORD> setBefore = BarProcessIds();
    ASSERT_TRUE(XClick(Centre(rcButton)));
    const auto rcMenuAgain = OpenedMenuRect(bar.ProcessId());
    ASSERT_TRUE(rcMenuAgain.has_value());
    const auto input = rowOf("&Input Volume");
    ASSERT_TRUE(XClick(POINT{rcMenuAgain->left + 30, rcMenuAgain->top + (input.first + input.second) / 2}));
    const auto vecStarted = AdoptNewBars(setBefore, 1);
    ASSERT_EQ(1u, vecStarted.size());
    EXPECT_EQ("r0", TailOf(*vecStarted.front()));
    EXPECT_EQ(rcBar.left, WindowRect(vecStarted.front()->BarWindow()).left);
    EXPECT_EQ(rcBar.bottom, WindowRect(vecStarted.front()->BarWindow()).top);

    // The line chosen by the click is what the bar saves when it leaves last.
    ASSERT_TRUE(vecStarted.front()->Close());
    ASSERT_TRUE(bar.Close());
    EXPECT_EQ(0x1008u, Setting("Component Type"));
    EXPECT_EQ(0u, Setting("Menu Index"));
}

} // namespace
