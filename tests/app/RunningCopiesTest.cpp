// The rules between running copies, with several CRunningCopies in this process standing for
// copies, windows titled and built like bars standing for their bars, and threads taking turns.
#include "app/RunningCopies.h"
#include "fw/WinApp.h"
#include "res/resource.h"
#include "support/StandInBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <memory>
#include <optional>
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
    EXPECT_TRUE(first.IsFirstCopy());
    EXPECT_EQ(0, Setting("Instance Count"));
    first.Raise();
    first.Raise();
    EXPECT_EQ(1, Setting("Instance Count"));

    const CStandInBar firstBar(0, 0);
    CRunningCopies second;
    second.BeginStart().End();
    EXPECT_FALSE(second.IsFirstCopy());
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
    CRunningCopies copies;
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

TEST_F(RunningCopiesTest, TheFreshSetOpensWhereTheTopBarOfTheOldSetStood)
{
    CRunningCopies copies;
    {
        // The copies end one after another: the top bar goes first, the last copy sees only its own.
        auto pTop = std::make_unique<CStandInBar>(300, 120);
        auto pMiddle = std::make_unique<CStandInBar>(300, 153);
        const CStandInBar bottom(250, 186);
        copies.NoteSetPlace();
        pTop.reset();
        copies.NoteSetPlace();
        pMiddle.reset();
        copies.NoteSetPlace();
        copies.RestartBars(0);
    }
    EXPECT_EQ(300, Setting("X Coordinate"));
    EXPECT_EQ(120, Setting("Y Coordinate"));

    // The next change replaces the next set: the old set's place counts no more.
    const CStandInBar alone(10, 500);
    copies.NoteSetPlace();
    copies.RestartBars(0);
    EXPECT_EQ(10, Setting("X Coordinate"));
    EXPECT_EQ(500, Setting("Y Coordinate"));
}

} // namespace
