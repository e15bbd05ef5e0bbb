// The rules between running copies, with several CRunningCopies in this process standing for
// copies, windows titled and built like bars standing for their bars, and threads taking turns.
#include "app/RunningCopies.h"
#include "app/StartupValues.h"
#include "fw/WinApp.h"
#include "res/resource.h"
#include "support/StandInBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class RunningCopiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
        m_app.m_strAppName = "Sonobar";
        m_app.SetRegistryKey("Quillmark");
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark"); }

    int Setting(const char* pszName) const { return m_app.GetProfileInt("Settings", pszName, -1); }

    CWinApp m_app;
};

TEST_F(RunningCopiesTest, TheCounterStartsAgainWithAFirstCopyAndEachCopyCountsOnce)
{
    // Left too high by a copy that was killed.
    m_app.WriteProfileInt("Settings", "Instance Count", 5);

    CRunningCopies first;
    first.BeginStart().End();
    EXPECT_EQ(1, g_bFirstInstance);
    EXPECT_EQ(0, Setting("Instance Count"));
    first.Raise();
    first.Raise();
    EXPECT_EQ(1, Setting("Instance Count"));

    const CStandInBar firstBar(0, 0);
    CRunningCopies second;
    second.BeginStart().End();
    EXPECT_EQ(0, g_bFirstInstance);
    second.Raise();
    EXPECT_EQ(2, Setting("Instance Count"));

    // A session end that is called off saves and keeps the copy counted; its later leaving, and
    // any leaving after that, takes it off once.
    second.Lower();
    second.Lower();
    EXPECT_EQ(1, Setting("Instance Count"));

    // A copy whose bar never ran takes nothing off.
    CRunningCopies failed;
    failed.Lower();
    EXPECT_EQ(1, Setting("Instance Count"));
}

TEST_F(RunningCopiesTest, CopiesTakeTurnsAndAKilledCopysTurnPassesOn)
{
    const CRunningCopies copies;
    std::atomic<bool> bFirstGaveBack{false};
    std::atomic<bool> bSecondWaiting{false};
    bool bSecondSawTheFirstGiveBack = false;
    std::optional<CCopyLock> first(copies.TakeTurn());
    ASSERT_TRUE(first->IsHeld());
    std::thread second([&] {
        bSecondWaiting = true;
        const CCopyLock turn = copies.TakeTurn();
        bSecondSawTheFirstGiveBack = turn.IsHeld() && bFirstGaveBack;
    });
    while (!bSecondWaiting)
        std::this_thread::yield();
    bFirstGaveBack = true;
    first.reset();
    second.join();
    EXPECT_TRUE(bSecondSawTheFirstGiveBack);

    // A thread that ends holding the turn stands for a copy killed during its turn.
    std::optional<CCopyLock> orphan;
    std::thread([&] { orphan.emplace(copies.TakeTurn()); }).join();
    EXPECT_TRUE(copies.TakeTurn().IsHeld());
}

TEST_F(RunningCopiesTest, TheLastCopyIsTheOneThatSeesNoOtherBarWhateverTheCounterSays)
{
    const CRunningCopies copies;
    const CStandInBar ownBar(0, 0);
    m_app.WriteProfileInt("Settings", "Instance Count", 3);
    {
        const CStandInBar otherBar(0, 33);
        EXPECT_FALSE(copies.IsLastCopy(ownBar.Get()));
    }
    EXPECT_TRUE(copies.IsLastCopy(ownBar.Get()));
    m_app.WriteProfileInt("Settings", "Instance Count", 1);
    const CStandInBar otherBar(0, 33);
    EXPECT_FALSE(copies.IsLastCopy(ownBar.Get()));
}

TEST_F(RunningCopiesTest, AChangeIsMissedByEveryCopyStartedBeforeItIsNoted)
{
    CRunningCopies running;
    const CRunningCopies starting;
    running.NoteDeviceChange();
    const CRunningCopies startedAfter;
    EXPECT_TRUE(starting.MissedDeviceChange());
    EXPECT_FALSE(startedAfter.MissedDeviceChange());
}

TEST_F(RunningCopiesTest, TheLastCopyToEndStartsTheFreshSetCardZeroFirstWhereTheTopBarStood)
{
    const struct {
        const char* pszCase;
        UINT nCards;
        bool bNewerChange; // arrives once the first bar of the fresh set is started
        std::vector<std::string> vecStarted;
    } cases[] = {
        {"two cards", 2, false, {"v0", "v1"}},
        {"no card left: one bar that says so", 0, false, {"v0"}},
        {"a newer change: its own last copy starts the set", 3, true, {"v0"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> vecStarted;
        const CRunningCopies::CCopyStarter record = [&](const std::string& strRoleWord) {
            vecStarted.push_back(strRoleWord);
            if (c.bNewerChange)
                CRunningCopies().NoteDeviceChange();
            return CScopedKernelHandle();
        };
        // Three copies, each with its bar; they end one after another, the top bar first, and
        // only the last one starts anything.
        std::vector<std::unique_ptr<CRunningCopies>> vecCopies;
        std::vector<std::unique_ptr<CStandInBar>> vecBars;
        for (const POINT pt : {POINT{300, 120}, POINT{300, 153}, POINT{250, 186}}) {
            vecCopies.push_back(std::make_unique<CRunningCopies>(record));
            vecBars.push_back(std::make_unique<CStandInBar>(pt.x, pt.y));
        }
        for (size_t i = 0; i < vecCopies.size(); ++i) {
            EXPECT_TRUE(vecStarted.empty()) << c.pszCase;
            vecCopies[i]->EndForDeviceChange(
                vecBars[i]->Get(), [&] { vecBars[i].reset(); }, [&] { return c.nCards; });
        }
        EXPECT_EQ(c.vecStarted, vecStarted) << c.pszCase;
        EXPECT_EQ(300, Setting("X Coordinate")) << c.pszCase;
        EXPECT_EQ(120, Setting("Y Coordinate")) << c.pszCase;
    }

    // The next change replaces the next set: the old set's place counts no more.
    CRunningCopies alone([](const std::string&) { return CScopedKernelHandle(); });
    auto pBar = std::make_unique<CStandInBar>(10, 500);
    alone.EndForDeviceChange(
        pBar->Get(), [&] { pBar.reset(); }, [] { return 1u; });
    EXPECT_EQ(10, Setting("X Coordinate"));
    EXPECT_EQ(500, Setting("Y Coordinate"));
}

} // namespace
