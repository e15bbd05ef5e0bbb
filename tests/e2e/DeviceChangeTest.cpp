// Changes of the sound hardware with real copies of the test build on simulated cards: where the
// fresh set of bars opens and in which order, what is left after a change that arrives while a
// copy is still starting, and a card that arrives while the no-driver message is up.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "app/InstanceRole.h"
#include "app/RunningCopies.h"
#include "fw/ScopedHandles.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <dbt.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMasterMute = 2;

const std::string kThreeCards = std::string(kSampleCard) + kSpeakersOnlyCard +
                                "card Third Card\n"
                                "dest 0x0 4 2 Speakers\n"
                                "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n";

// The processes of the test build, bar or not: copies that are starting have none yet.
std::set<DWORD> CopyProcessIds()
{
    std::set<DWORD> setIds;
    const CScopedKernelHandle hSnapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = ::Process32First(hSnapshot.Get(), &entry); bMore;
         bMore = ::Process32Next(hSnapshot.Get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, "sonobar-sim.exe") == 0)
            setIds.insert(entry.th32ProcessID);
    }
    return setIds;
}

std::set<DWORD> ShownBarProcessIds()
{
    std::set<DWORD> setIds;
    for (const HWND hBar : BarWindows()) {
        DWORD dwProcessId = 0;
        ::GetWindowThreadProcessId(hBar, &dwProcessId);
        if (::IsWindowVisible(hBar))
            setIds.insert(dwProcessId);
    }
    return setIds;
}

// The copies' bars from the top of the column down.
std::vector<const CBarProcess*> TopToBottom(const std::vector<std::unique_ptr<CBarProcess>>& vecCopies)
{
    std::vector<const CBarProcess*> vecColumn;
    for (const auto& pCopy : vecCopies)
        vecColumn.push_back(pCopy.get());
    std::sort(vecColumn.begin(), vecColumn.end(), [](const CBarProcess* pA, const CBarProcess* pB) {
        return WindowRect(pA->BarWindow()).top < WindowRect(pB->BarWindow()).top;
    });
    return vecColumn;
}

class DeviceChangeTest : public CCopyTest {
protected:
    DeviceChangeTest() : CCopyTest(kThreeCards.c_str()) {}

    DWORD Setting(const char* pszName) const { return m_settings.Read(pszName).value_or(0xDEADBEEF); }
};

TEST_F(DeviceChangeTest, TheFreshSetOpensWhereTheTopBarStoodInCardOrderWhicheverCopyEndsLast)
{
    for (const size_t nLast : {0u, 1u, 2u}) {
        m_settings.Clear();
        m_settings.Write("X Coordinate", 200);
        m_settings.Write("Y Coordinate", 150);
        std::vector<std::unique_ptr<CBarProcess>> vecOld;
        for (const char* pszTail : {"", "r0", "v1"})
            vecOld.push_back(std::make_unique<CBarProcess>(pszTail));
        const RECT rcTop = WindowRect(vecOld.front()->BarWindow());
        ASSERT_EQ(200, rcTop.left);
        ASSERT_EQ(150, rcTop.top);
        const std::set<DWORD> setOld = BarProcessIds();

        // One after another, the chosen bar last: it is the one that starts the fresh set.
        std::vector<HWND> vecOrder;
        for (size_t i = 0; i < vecOld.size(); ++i) {
            if (i != nLast)
                vecOrder.push_back(vecOld[i]->BarWindow());
        }
        vecOrder.push_back(vecOld[nLast]->BarWindow());
        for (const HWND hBar : vecOrder) {
            DWORD_PTR dwResult = 0;
            ::SendMessageTimeoutA(hBar, WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 20000,
                                  &dwResult);
        }
        for (const auto& pOld : vecOld)
            EXPECT_EQ(0u, pOld->WaitForExit(20000)) << "bar " << nLast << " last";

        const auto vecFresh = AdoptNewBars(setOld, 3);
        ASSERT_EQ(3u, vecFresh.size()) << "bar " << nLast << " last";
        const std::vector<const CBarProcess*> vecColumn = TopToBottom(vecFresh);
        const RECT rcFreshTop = WindowRect(vecColumn.front()->BarWindow());
        EXPECT_EQ(rcTop.left, rcFreshTop.left) << "bar " << nLast << " last";
        EXPECT_EQ(rcTop.top, rcFreshTop.top) << "bar " << nLast << " last";
        std::vector<std::string> vecTails;
        for (const CBarProcess* pFresh : vecColumn)
            vecTails.push_back(CommandTail(pFresh->CommandLine()));
        EXPECT_EQ((std::vector<std::string>{"v0", "v1", "v2"}), vecTails) << "bar " << nLast << " last";
    }
}

TEST_F(DeviceChangeTest, ACopyStillStartingTakesPartAndOneOutputBarPerCardIsLeft)
{
    const struct {
        const char* pszCase;
        bool bKilled; // while it waits for its turn: it will never start
    } cases[] = {
        {"the copy for card 2 starts", false},
        {"the copy for card 2 is killed while it starts", true},
    };
    for (const auto& c : cases) {
        m_settings.Clear();
        std::unique_ptr<CBarProcess> pFirst = std::make_unique<CBarProcess>();
        ASSERT_NE(nullptr, pFirst->BarWindow()) << c.pszCase;
        const std::set<DWORD> setBefore = CopyProcessIds();

        // The menu's card entry starts a copy; it waits for its turn to start, which this test
        // holds as another copy would, while the change of the hardware arrives at the one bar
        // there is.
        CRunningCopies observer;
        std::optional<CCopyLock> turn;
        std::unique_ptr<CBarProcess> pStarting;
        ::PostMessageA(pFirst->BarWindow(), WM_COMMAND, MAKEWPARAM(ID_CARD2, 0), 0);
        ASSERT_TRUE(WaitFor(
            [&] {
                for (const DWORD dwId : CopyProcessIds()) {
                    if (!setBefore.count(dwId)) {
                        turn.emplace(observer.TakeTurn());
                        pStarting = CBarProcess::Adopt(dwId);
                        return true;
                    }
                }
                return false;
            },
            10000))
            << c.pszCase;
        ASSERT_TRUE(turn->IsHeld()) << c.pszCase;
        ASSERT_EQ(nullptr, pStarting->BarWindow()) << c.pszCase;
        if (c.bKilled)
            pStarting->Kill();
        ::PostMessageA(pFirst->BarWindow(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
        // The bar notes the change before it waits for its turn.
        EXPECT_TRUE(WaitFor([&] { return observer.MissedDeviceChange() != FALSE; })) << c.pszCase;
        turn.reset();

        // Settled: the copies there were have ended, and every copy left shows its bar.
        EXPECT_TRUE(pFirst->WaitForExit(20000).has_value()) << c.pszCase;
        EXPECT_TRUE(pStarting->WaitForExit(20000).has_value()) << c.pszCase;
        const auto settled = [] {
            const std::set<DWORD> setCopies = CopyProcessIds();
            return !setCopies.empty() && setCopies == ShownBarProcessIds();
        };
        ASSERT_TRUE(WaitFor(settled, 20000)) << c.pszCase;
        std::vector<std::unique_ptr<CBarProcess>> vecLeft;
        std::vector<std::string> vecTails;
        for (const DWORD dwId : CopyProcessIds()) {
            vecLeft.push_back(CBarProcess::Adopt(dwId));
            ASSERT_NE(nullptr, vecLeft.back()) << c.pszCase;
            vecTails.push_back(CommandTail(vecLeft.back()->CommandLine()));
        }
        std::sort(vecTails.begin(), vecTails.end());
        EXPECT_EQ((std::vector<std::string>{"v0", "v1", "v2"}), vecTails) << c.pszCase;
        EXPECT_EQ(3u, Setting("Instance Count")) << c.pszCase;
    }
}

TEST_F(DeviceChangeTest, ACardArrivingWhileTheNoDriverMessageIsUpBringsABarThatDrivesIt)
{
    m_strSession = UseSimulatedCards("");
    CBarProcess first;
    ASSERT_NE(nullptr, first.BarWindow());
    ASSERT_NE(nullptr, MessageBoxOf(first.ProcessId()));
    const std::set<DWORD> setOld = BarProcessIds();

    // The headset connects: a card appears, and Windows tells the bar, whose message box's own
    // loop hands the change to the bar's handler.
    ASSERT_EQ(1, SimDriverAddCards(m_strSession, kSampleCard));
    DWORD_PTR dwResult = 0;
    ::SendMessageTimeoutA(first.BarWindow(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0, SMTO_NORMAL, 20000,
                          &dwResult);
    EXPECT_EQ(TRUE, dwResult);

    // The message closes, the copy ends as a copy ends, and the fresh bar stands on the card.
    EXPECT_EQ(0u, first.WaitForExit(20000));
    const auto vecFresh = AdoptNewBars(setOld, 1);
    ASSERT_EQ(1u, vecFresh.size());
    const HWND hBar = vecFresh.front()->BarWindow();
    ASSERT_NE(nullptr, hBar);
    EXPECT_EQ("v0", CommandTail(vecFresh.front()->CommandLine()));
    EXPECT_EQ(nullptr, MessageBoxOf(vecFresh.front()->ProcessId()));

    // And it drives the card: a click of the mouse mutes the speakers.
    const HWND hMute = ::GetDlgItem(hBar, IDC_MUTE_BUTTON);
    ASSERT_TRUE(::IsWindowEnabled(hMute));
    ASSERT_TRUE(XClick(Centre(WindowRect(hMute))));
    ASSERT_TRUE(XMove(POINT{600, 500}));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterMute) == std::vector<DWORD>{1}; }));
    EXPECT_TRUE(WaitFor([&] { return ShownRow(hMute, false) == MuteRow::Dim; }));
}

} // namespace
