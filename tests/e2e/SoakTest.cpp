// One bar used for a long time with real input: a thousand slider moves, two thousand changes from
// another program, a hundred each of menu openings, hide-and-restore cycles and mute toggles, then a
// click, Alt+M and an arrow key that must still reach it. No write may be lost, doubled or come
// out of order, and the copy must hold no more GDI or USER objects and hardly more private memory
// afterwards than before.
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

constexpr int kSliderMoves = 1000;
constexpr int kNotifications = 2000;
constexpr int kMenuOpenings = 100;
constexpr int kHideRestoreCycles = 100;
constexpr int kMuteToggles = 100;

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

class SoakTest : public CCopyTestOn<kSampleCard> {
protected:
    size_t Writes(DWORD dwControlID) const { return ProgramWrites(m_strLog, dwControlID).size(); }
    // Waits until the copy has written the control nCount times in all.
    bool WaitForWrites(DWORD dwControlID, size_t nCount, DWORD dwMilliseconds = 5000) const
    {
        return WaitFor([&] { return Writes(dwControlID) >= nCount; }, dwMilliseconds);
    }
};

// Escape hides the bar, once a click on its body has given it the keyboard; one click on the
// tray icon must bring it back.
::testing::AssertionResult HideAndRestore(HWND hBar, POINT ptBody)
{
    if (!RunUnixCommand("xdotool mousemove " + XPoint(ptBody) + " click 1 key Escape") ||
        !WaitFor([&] { return !::IsWindowVisible(hBar) && IconShown(hBar); }))
        return ::testing::AssertionFailure()
               << "a click on the body and Escape did not hide the bar into the tray";
    if (!RestoreFromIcon(hBar) || !WaitFor([&] { return !IconShown(hBar); }))
        return ::testing::AssertionFailure() << "one click on the tray icon did not bring the bar back";
    return ::testing::AssertionSuccess();
}

std::string ClassOf(HWND hWnd)
{
    char szClass[64] = "none";
    if (hWnd)
        ::GetClassNameA(hWnd, szClass, sizeof szClass);
    return szClass;
}

HWND CaptureOf(HWND hBar)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(hBar, nullptr), &info) ? info.hwndCapture : nullptr;
}

// A right click on the body opens the popup menu, Escape closes it.
::testing::AssertionResult OpenAndCloseMenu(const CBarProcess& bar, POINT ptBody)
{
    if (!XClick(ptBody, 3) || !WaitFor([&] { return OpenMenuOf(bar.ProcessId()) != nullptr; }))
        return ::testing::AssertionFailure()
               << "a right click on the body opened no menu (the bar "
               << (::IsWindowVisible(bar.BarWindow()) ? "shown" : "hidden") << ", its tray icon "
               << (IconShown(bar.BarWindow()) ? "shown" : "absent") << ", the foreground "
               << ClassOf(::GetForegroundWindow()) << ", the capture of the bar's thread "
               << ClassOf(CaptureOf(bar.BarWindow())) << ")";
    if (!XKeys("Escape") || !WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; }))
        return ::testing::AssertionFailure() << "Escape did not close the menu";
    return ::testing::AssertionSuccess();
}

TEST_F(SoakTest, ThousandsOfActionsLoseNoWriteAndLeakNothing)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    const POINT ptBody = BodyPoint(bar.hBar, bar.hSlider);
    // Mute clicks alternate between two points further apart than a double click may be, so that
    // each one is a click of its own however quickly it follows the one before.
    const POINT ptMute[] = {Offset(Centre(WindowRect(bar.hMute)), -4, 0),
                            Offset(Centre(WindowRect(bar.hMute)), 4, 0)};

    // 1. One of each action first, so that what the platform sets up on first use is in the
    //    baseline.
    const size_t nVolumeWritesAtStart = Writes(kMasterVolume);
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(XKeys("Right Left"));
    ASSERT_TRUE(WaitForWrites(kMasterVolume, nVolumeWritesAtStart + 2));
    ASSERT_TRUE(XKeys("alt+m"));
    ASSERT_TRUE(WaitForWrites(kMasterMute, 1));
    ASSERT_TRUE(XClick(ptMute[0]));
    ASSERT_TRUE(WaitForWrites(kMasterMute, 2));
    ASSERT_TRUE(OpenAndCloseMenu(bar, ptBody));
    ASSERT_TRUE(HideAndRestore(bar.hBar, ptBody));
    ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {0x4000, 0x4000}));
    const Holdings before = HoldingsOf(m_strSession, bar.ProcessId());
    ASSERT_GT(before.nGdi, 0);

    // 2. Slider moves from the keyboard, a page each: alternately up and back. The click that
    //    gives the slider the keyboard may write the thumb's place once before them.
    const size_t nVolumeWritesBefore = Writes(kMasterVolume);
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(RepeatX("key Next key Prior", kSliderMoves / 2));
    ASSERT_TRUE(WaitForWrites(kMasterVolume, nVolumeWritesBefore + kSliderMoves, 60000));

    // 3. Changes from another program, each one followed by the bar.
    for (int i = 0; i < kNotifications; ++i) {
        const DWORD dwValue = 0x1000 + 0x10 * DWORD(i % 0x100);
        ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {dwValue, dwValue})) << i;
    }
    // The bar has followed them all when it shows one more, the loudest.
    ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {0xFFFF, 0xFFFF}));
    ASSERT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 100; }, 60000));

    // 4. The popup menu opened on the body and closed again, time after time: each Escape closes
    //    the menu that the click before it opened and never reaches the bar, which it would hide.
    //    Each click waits until the menu before it has gone: Wine drops a click that the X server
    //    still hands to the window of a menu Wine has just closed, and the Escape after it would
    //    then find no menu.
    for (int i = 0; i < kMenuOpenings; ++i)
        ASSERT_TRUE(OpenAndCloseMenu(bar, ptBody)) << "opening " << i;
    ASSERT_TRUE(::IsWindowVisible(bar.hBar));
    ASSERT_FALSE(IconShown(bar.hBar));

    // 5. Hidden by Escape, brought back by one click on the tray icon.
    for (int i = 0; i < kHideRestoreCycles; ++i)
        ASSERT_TRUE(HideAndRestore(bar.hBar, ptBody)) << "cycle " << i;

    // The bar has handled every key of the slider's phase before the input that came after it,
    // so what it wrote then is all it will ever write for those keys: the last ones alternate up
    // and back.
    const std::vector<DWORD> volumeWrites = ProgramWrites(m_strLog, kMasterVolume);
    ASSERT_GE(volumeWrites.size(), nVolumeWritesBefore + kSliderMoves);
    ASSERT_LE(volumeWrites.size(), nVolumeWritesBefore + kSliderMoves + 1);
    const size_t nFirstMove = volumeWrites.size() - kSliderMoves;
    const DWORD dwUp = volumeWrites[nFirstMove];
    const DWORD dwBack = volumeWrites[nFirstMove + 1];
    EXPECT_GT(dwUp, dwBack);
    for (size_t i = nFirstMove; i < volumeWrites.size(); ++i)
        ASSERT_EQ(volumeWrites[i], (i - nFirstMove) % 2 ? dwBack : dwUp) << "write " << i;
    const std::vector<DWORD> driverWrites = LoggedWrites(m_strLog, "driver", kMasterVolume);
    ASSERT_GE(driverWrites.size(), size_t{kNotifications} + 1);
    const size_t nFirstChange = driverWrites.size() - 1 - kNotifications;
    for (int i = 0; i < kNotifications; ++i)
        ASSERT_EQ(driverWrites[nFirstChange + i], 0x1000 + 0x10 * DWORD(i % 0x100)) << i;

    // 6. Mute toggled by clicks on its button after all that: each click toggles once.
    const size_t nMuteWritesBefore = Writes(kMasterMute);
    for (int i = 0; i < kMuteToggles; ++i) {
        ASSERT_TRUE(XClick(ptMute[i % 2]));
        ASSERT_TRUE(WaitForWrites(kMasterMute, nMuteWritesBefore + i + 1)) << "click " << i;
    }

    // 7. The user's input still reaches the bar, each once: a click on the mute button, an arrow
    //    key on the slider (a click on its thumb gives it the keyboard) and Alt+M.
    ASSERT_TRUE(XClick(ptMute[kMuteToggles % 2]));
    ASSERT_TRUE(WaitForWrites(kMasterMute, nMuteWritesBefore + kMuteToggles + 1));
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hSlider; }));
    const int nPosBeforeKey = SliderPos(bar.hSlider);
    const bool bRight = nPosBeforeKey < 100;
    ASSERT_TRUE(XKeys(bRight ? "Right" : "Left"));
    ASSERT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) != nPosBeforeKey; }));
    ASSERT_TRUE(XKeys("alt+m"));
    ASSERT_TRUE(WaitForWrites(kMasterMute, nMuteWritesBefore + kMuteToggles + 2));

    // Alt+M came last, so every earlier input has had its effect by now: the key moved the slider
    // one step, and each click wrote once, each write a toggle.
    EXPECT_EQ(nPosBeforeKey + (bRight ? 1 : -1), SliderPos(bar.hSlider));
    const std::vector<DWORD> muteWrites = ProgramWrites(m_strLog, kMasterMute);
    ASSERT_EQ(muteWrites.size(), nMuteWritesBefore + kMuteToggles + 2);
    for (size_t i = nMuteWritesBefore + 1; i < muteWrites.size(); ++i)
        ASSERT_NE(muteWrites[i], muteWrites[i - 1]) << "toggle " << i;

    // The bar still follows: the last change of another program shows (16 of 32 steps).
    ASSERT_EQ(1, SimDriverSetValues(m_strSession, 0, kMasterVolume, {0x8000, 0x8000}));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 50; }));
    EXPECT_TRUE(::IsWindowEnabled(bar.hMute));

    const Holdings after = HoldingsOf(m_strSession, bar.ProcessId());
    std::printf("soak: GDI objects %lld -> %lld, USER objects %lld -> %lld, private KiB %lld -> %lld\n",
                before.nGdi, after.nGdi, before.nUser, after.nUser, before.nPrivateKiB, after.nPrivateKiB);
    EXPECT_LE(after.nGdi, before.nGdi + kGdiAllowance);
    EXPECT_LE(after.nUser, before.nUser + kUserAllowance);
    EXPECT_LE(after.nPrivateKiB, before.nPrivateKiB + kPrivateAllowanceKiB);
    ASSERT_TRUE(bar.Close());
}

} // namespace
