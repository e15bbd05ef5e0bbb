// One bar used for a long time with real input: thousands of slider moves and of changes from
// another program, hundreds of menu openings, hide-and-restore cycles and mute toggles. No write
// may be lost or come out of order, and the copy must hold no more GDI or USER objects and
// hardly more private memory afterwards than before.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"
#include "sim/SimResources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSliderMoves = 2000;
constexpr int kNotifications = 2000;
constexpr int kMenuOpenings = 200;
constexpr int kHideRestoreCycles = 200;
constexpr int kMuteToggles = 200;

// How far the counts may drift: caches the platform fills on first use, not leaks.
constexpr long long kGdiAllowance = 8;
constexpr long long kUserAllowance = 4;
constexpr long long kPrivateAllowanceKiB = 2048;

constexpr DWORD kMasterVolume = 1;
constexpr DWORD kMasterMute = 2;

struct Holdings {
    long long nGdi;
    long long nUser;
    long long nPrivateKiB;
};

Holdings HoldingsOf(const std::string& strSession, DWORD dwProcessId)
{
    return {SimDriverQueryResource(strSession, dwProcessId, static_cast<DWORD>(sim::Resource::GdiObjects)),
            SimDriverQueryResource(strSession, dwProcessId, static_cast<DWORD>(sim::Resource::UserObjects)),
            SimDriverQueryResource(strSession, dwProcessId, static_cast<DWORD>(sim::Resource::PrivateKiB))};
}

// The same xdotool steps again and again, nPerRun times to one run of xdotool, so that each run
// ends well within the time a command may take.
bool RepeatX(const std::string& strSteps, int nTimes, int nPerRun = 50)
{
    for (int nDone = 0; nDone < nTimes; nDone += nPerRun) {
        std::string strCommand = "xdotool";
        for (int i = nDone; i < nTimes && i < nDone + nPerRun; ++i)
            strCommand += " " + strSteps;
        if (!RunUnixCommand(strCommand))
            return false;
    }
    return true;
}

std::string XPoint(POINT pt)
{
    return std::to_string(pt.x) + " " + std::to_string(pt.y);
}

class SoakTest : public CCopyTest {
protected:
    SoakTest() : CCopyTest(kSampleCard) {}
};

TEST_F(SoakTest, ThousandsOfActionsLoseNoWriteAndLeakNothing)
{
    CBarProcess bar;
    const HWND hBar = bar.BarWindow();
    ASSERT_NE(hBar, nullptr);
    const HWND hSlider = ::GetDlgItem(hBar, IDC_VOLUME_SLIDER);
    const HWND hMute = ::GetDlgItem(hBar, IDC_MUTE_BUTTON);
    const POINT ptBody = BodyPoint(hBar, hSlider);

    // 1. One of each action first, so that what the platform sets up on first use is in the
    //    baseline.
    ASSERT_TRUE(XClick(Centre(ThumbRect(hSlider))));
    ASSERT_TRUE(RepeatX("key Right key Left", 1));
    ASSERT_TRUE(RepeatX("key alt+m sleep 0.05", 2));
    ASSERT_TRUE(RepeatX("mousemove " + XPoint(ptBody) + " click 3 sleep 0.2 key Escape sleep 0.1", 1));
    ASSERT_TRUE(RepeatX("mousemove " + XPoint(ptBody) + " click 1 sleep 0.1 key Escape", 1));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hBar); }));
    ASSERT_TRUE(WaitFor([&] { return IconShown(hBar) && FirstTrayIconPoint().has_value(); }));
    const auto ptIcon = FirstTrayIconPoint();
    // Right after a popup menu Wine lets the first click on another program's window go by, so
    // the icon is clicked until the bar is back.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) || (XClick(*ptIcon) && false); }));
    ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {0x4000, 0x4000}));
    const Holdings before = HoldingsOf(m_strSession, bar.ProcessId());
    ASSERT_GT(before.nGdi, 0);

    // 2. Slider moves from the keyboard, a page each: alternately up and back. The click that
    //    gives the slider the keyboard writes the thumb's place once.
    ASSERT_TRUE(XClick(Centre(ThumbRect(hSlider))));
    ::Sleep(300);
    const size_t nVolumeWritesBefore = ProgramWrites(m_strLog, kMasterVolume).size();
    const int nStart = SliderPos(hSlider);
    ASSERT_TRUE(RepeatX("key Next key Prior", kSliderMoves / 2));
    ASSERT_TRUE(WaitFor(
        [&] { return ProgramWrites(m_strLog, kMasterVolume).size() >= nVolumeWritesBefore + kSliderMoves; },
        60000));
    ::Sleep(500);
    const std::vector<DWORD> volumeWrites = ProgramWrites(m_strLog, kMasterVolume);

    // 3. Changes from another program, each one followed by the bar.
    for (int i = 0; i < kNotifications; ++i) {
        const DWORD dwValue = 0x1000 + 0x10 * DWORD(i % 0x100);
        ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {dwValue, dwValue})) << i;
    }

    // 4. Mute toggled by clicks on its button, each after the double-click time so that every
    //    click is a click of its own. A click that Wine lets go by is made again, so that the bar
    //    toggles exactly kMuteToggles times.
    const size_t nMuteWritesBeforeToggles = ProgramWrites(m_strLog, kMasterMute).size();
    const POINT ptMute = Centre(WindowRect(hMute));
    int nClicks = 0;
    for (size_t nWritten = 0; nWritten < kMuteToggles && nClicks < 2 * kMuteToggles; ++nClicks) {
        ASSERT_TRUE(XClick(ptMute));
        WaitFor(
            [&] { return ProgramWrites(m_strLog, kMasterMute).size() > nMuteWritesBeforeToggles + nWritten; },
            1500);
        nWritten = ProgramWrites(m_strLog, kMasterMute).size() - nMuteWritesBeforeToggles;
        ::Sleep(600);
    }
    std::printf("soak: %d clicks for %d mute toggles\n", nClicks, kMuteToggles);

    // 5. Hidden by Escape (a click on the body gives the bar the keyboard), brought back by a
    //    click on the tray icon.
    ASSERT_TRUE(RepeatX("mousemove " + XPoint(ptBody) + " click 1 sleep 0.1 key Escape sleep 0.4 mousemove " +
                            XPoint(*ptIcon) + " click 1 sleep 0.4",
                        kHideRestoreCycles, 20));
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(hBar) != FALSE; }));

    // 6. The popup menu opened on the body and closed again.
    ASSERT_TRUE(
        RepeatX("mousemove " + XPoint(ptBody) + " click 3 sleep 0.15 key Escape sleep 0.05", kMenuOpenings));

    // Every write there, in the order made: the last ones of the slider's phase alternate up and
    // back (the click that gave the slider the keyboard may have written once before them).
    ASSERT_GE(volumeWrites.size(), nVolumeWritesBefore + kSliderMoves);
    ASSERT_LE(volumeWrites.size(), nVolumeWritesBefore + kSliderMoves + 1);
    const size_t nFirstMove = volumeWrites.size() - kSliderMoves;
    const DWORD dwUp = volumeWrites[nFirstMove];
    const DWORD dwBack = volumeWrites[nFirstMove + 1];
    EXPECT_GT(dwUp, dwBack) << "from position " << nStart;
    for (size_t i = nFirstMove; i < volumeWrites.size(); ++i)
        ASSERT_EQ(volumeWrites[i], (i - nFirstMove) % 2 ? dwBack : dwUp) << "write " << i;
    const std::vector<DWORD> driverWrites = LoggedWrites(m_strLog, "driver", kMasterVolume);
    ASSERT_GE(driverWrites.size(), size_t{kNotifications});
    for (int i = 0; i < kNotifications; ++i)
        ASSERT_EQ(driverWrites[driverWrites.size() - kNotifications + i], 0x1000 + 0x10 * DWORD(i % 0x100))
            << i;
    ::Sleep(500);
    const std::vector<DWORD> muteWrites = ProgramWrites(m_strLog, kMasterMute);
    ASSERT_EQ(muteWrites.size(), nMuteWritesBeforeToggles + kMuteToggles);
    for (size_t i = nMuteWritesBeforeToggles + 1; i < muteWrites.size(); ++i)
        ASSERT_NE(muteWrites[i], muteWrites[i - 1]) << "toggle " << i;

    // The bar still follows: the last change of another program shows.
    ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {0xFFFF, 0xFFFF}));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(hSlider) == 100; }));
    EXPECT_TRUE(::IsWindowEnabled(hMute));

    const Holdings after = HoldingsOf(m_strSession, bar.ProcessId());
    std::printf("soak: GDI objects %lld -> %lld, USER objects %lld -> %lld, private KiB %lld -> %lld\n",
                before.nGdi, after.nGdi, before.nUser, after.nUser, before.nPrivateKiB, after.nPrivateKiB);
    EXPECT_LE(after.nGdi, before.nGdi + kGdiAllowance);
    EXPECT_LE(after.nUser, before.nUser + kUserAllowance);
    EXPECT_LE(after.nPrivateKiB, before.nPrivateKiB + kPrivateAllowanceKiB);
    ASSERT_TRUE(bar.Close());
}

} // namespace
