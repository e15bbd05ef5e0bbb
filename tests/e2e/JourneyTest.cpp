// The journeys a user takes with real copies, driven by the real keyboard and mouse of the X
// display: the slider from the keyboard, mute by Alt+M, the bar hidden by a double-click and
// brought back from its icon, the popup menu's choices made with the keys, Alt+F4 and a restart
// that finds everything as it was left, Alt+F4 during a move, and a card entry opening a bar
// beneath and, chosen again, bringing that bar back; Start With Windows on and off again for a
// program file in a folder with a blank.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "app/InstanceRole.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMasterVolume = 1;
constexpr DWORD kMasterMute = 2;
constexpr DWORD kWaveVolume = 5;

using JourneyTest = CCopyTestOn<kSampleCard>;

TEST_F(JourneyTest, SliderFromTheKeyboardAndMuteByAltM)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);

    // A click on the thumb gives the slider the keyboard where it stands (0x8000 of 0xFFFF: 50).
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(WaitFor([&] { return ::GetFocus() == bar.hSlider || SliderPos(bar.hSlider) == 50; }));
    const struct {
        const char* pszKey;
        int nPos;
    } steps[] = {
        {"Right", 51}, {"Left", 50}, {"Next", 70}, {"Prior", 50}, {"End", 100}, {"Home", 0},
    };
    for (const auto& step : steps) {
        const size_t nWrites = ProgramWrites(m_strLog, kMasterVolume).size();
        ASSERT_TRUE(XKeys(step.pszKey));
        EXPECT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == step.nPos; })) << step.pszKey;
        EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterVolume).size() > nWrites; }))
            << step.pszKey << " wrote nothing";
    }
    EXPECT_EQ(0u, ProgramWrites(m_strLog, kMasterVolume).back()) << "Home is silence";

    // Alt+M toggles the mute, and the button shows it.
    for (const DWORD dwMuted : {1u, 0u}) {
        ASSERT_TRUE(XKeys("alt+m"));
        EXPECT_TRUE(WaitFor([&] {
            const auto writes = ProgramWrites(m_strLog, kMasterMute);
            return !writes.empty() && writes.back() == dwMuted;
        })) << "muted "
            << dwMuted;
        const MuteRow expected = dwMuted ? MuteRow::Dim : MuteRow::Bright;
        EXPECT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == expected; })) << "muted " << dwMuted;
    }
    ASSERT_TRUE(bar.Close());
}

TEST_F(JourneyTest, DoubleClickHidesTheBarAndItsIconBringsItBack)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    ASSERT_TRUE(XClick(BodyPoint(bar.hBar, bar.hSlider), 1, 2));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(bar.hBar); }));
    EXPECT_TRUE(WaitFor([&] { return IconShown(bar.hBar); }));
    ASSERT_TRUE(RestoreFromIcon(bar.hBar));
    EXPECT_TRUE(WaitFor([&] { return !IconShown(bar.hBar); }));
    ASSERT_TRUE(bar.Close());
}

TEST_F(JourneyTest, MenuChoicesAltF4AndARestartThatFindsEverythingAsLeft)
{
    // One card: its menu ends "... &Output Volume, &Input Volume, Master Volme, Wave".
    POINT ptMoved{};
    {
        CRunningBar bar;
        ASSERT_NE(nullptr, bar.hBar);

        // The wave line, then the next slider move writes its volume.
        ASSERT_TRUE(ChooseFromTheEnd(bar, 1));
        ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
        ASSERT_TRUE(XKeys("Right"));
        EXPECT_TRUE(WaitFor([&] { return !ProgramWrites(m_strLog, kWaveVolume).empty(); }));

        // The master again, and back to the wave line.
        ASSERT_TRUE(ChooseFromTheEnd(bar, 2));
        const size_t nMasterWrites = ProgramWrites(m_strLog, kMasterVolume).size();
        ASSERT_TRUE(XKeys("Left"));
        EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kMasterVolume).size() > nMasterWrites; }));
        ASSERT_TRUE(ChooseFromTheEnd(bar, 1));

        // "&Always OnTop" off, "Start In &Tray" on: the fifth and eighth entries from the end.
        ASSERT_TRUE(ChooseFromTheEnd(bar, 5));
        EXPECT_TRUE(WaitFor([&] { return !(::GetWindowLongA(bar.hBar, GWL_EXSTYLE) & WS_EX_TOPMOST); }));
        ASSERT_TRUE(ChooseFromTheEnd(bar, 8));

        // Dragged by its body to another place.
        const POINT ptBody = BodyPoint(bar.hBar, bar.hSlider);
        ASSERT_TRUE(XButtonDown(ptBody));
        ASSERT_TRUE(XMove(Offset(ptBody, 100, 60)));
        ASSERT_TRUE(XMove(Offset(ptBody, 200, 120)));
        ASSERT_TRUE(XButtonUp(Offset(ptBody, 200, 120)));
        ASSERT_TRUE(WaitFor([&] { return WindowRect(bar.hBar).left > 100; }));
        ptMoved = {WindowRect(bar.hBar).left, WindowRect(bar.hBar).top};

        // Alt+F4 with the bar's keyboard: the copy ends and saves once.
        ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
        ASSERT_TRUE(XKeys("alt+F4"));
        ASSERT_TRUE(bar.WaitForExit().has_value());
    }
    EXPECT_EQ(0u, Setting("Instance Count"));
    EXPECT_EQ(0x1008u, Setting("Component Type"));
    EXPECT_EQ(0u, Setting("Menu Index"));
    EXPECT_EQ(0u, Setting("Always On Top"));
    EXPECT_EQ(1u, Setting("Start In Tray"));
    EXPECT_EQ(DWORD(ptMoved.x), Setting("X Coordinate"));
    EXPECT_EQ(DWORD(ptMoved.y), Setting("Y Coordinate"));

    // The restart starts in the tray; from its icon it comes back where it was, not on top,
    // driving the wave line.
    CRunningBar again;
    ASSERT_NE(nullptr, again.hBar);
    EXPECT_FALSE(::IsWindowVisible(again.hBar));
    EXPECT_TRUE(WaitFor([&] { return IconShown(again.hBar); }));
    ASSERT_TRUE(RestoreFromIcon(again.hBar));
    EXPECT_EQ(ptMoved.x, WindowRect(again.hBar).left);
    EXPECT_EQ(ptMoved.y, WindowRect(again.hBar).top);
    EXPECT_FALSE(::GetWindowLongA(again.hBar, GWL_EXSTYLE) & WS_EX_TOPMOST);
    const size_t nWaveWrites = ProgramWrites(m_strLog, kWaveVolume).size();
    ASSERT_TRUE(XClick(Centre(ThumbRect(again.hSlider))));
    ASSERT_TRUE(XKeys("Right"));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, kWaveVolume).size() > nWaveWrites; }));
    ASSERT_TRUE(again.Close());
}

TEST_F(JourneyTest, AltF4DuringAMoveFromTheMenuEndsTheCopy)
{
    // The system's move loop takes the message that ends the copy's own loop; the copy must end
    // all the same, having saved once.
    UseSimulatedCards(kSampleCard);
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    DWORD dwProcessId = 0;
    const DWORD dwThreadId = ::GetWindowThreadProcessId(bar.hBar, &dwProcessId);

    // Move is the second entry from the top (after the greyed Restore).
    ASSERT_TRUE(XClick(Centre(WindowRect(bar.hMenuButton))));
    ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(dwProcessId) != nullptr; }));
    ASSERT_TRUE(XKeys("Down Down Return"));
    ASSERT_TRUE(WaitFor([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(dwThreadId, &info) && (info.flags & GUI_INMOVESIZE) != 0;
    }));

    ASSERT_TRUE(XKeys("alt+F4"));
    EXPECT_EQ(0u, bar.WaitForExit());
    EXPECT_EQ(0u, Setting("Instance Count"));
}

TEST_F(JourneyTest, ACardEntryOpensThatCardsBarBeneathAndLaterBringsItBackFromTheTray)
{
    // Two cards: the menu ends with "&1.  Sim Audio" and "&2.  Second Card".
    UseSimulatedCards(std::string(kSampleCard) + kSpeakersOnlyCard);
    // Away from the screen's corner, where Wine shows the tray icons.
    m_settings.Write("X Coordinate", 300);
    m_settings.Write("Y Coordinate", 200);
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    const std::set<DWORD> setBefore = BarProcessIds();
    ASSERT_TRUE(ChooseFromTheEnd(bar, 1));
    const auto vecStarted = AdoptNewBars(setBefore, 1);
    ASSERT_EQ(1u, vecStarted.size());
    EXPECT_EQ("v1", CommandTail(vecStarted.front()->CommandLine()));
    const HWND hSecond = vecStarted.front()->BarWindow();
    const RECT rcNew = WindowRect(hSecond);
    EXPECT_EQ(WindowRect(bar.hBar).left, rcNew.left);
    EXPECT_EQ(WindowRect(bar.hBar).bottom, rcNew.top);

    // The second card's bar, which has the keyboard as it opens, goes to the tray by Escape; the
    // same entry again brings it back to the front instead of starting another.
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == hSecond; }));
    ASSERT_TRUE(XKeys("Escape"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(hSecond); }));
    ASSERT_TRUE(ChooseFromTheEnd(bar, 1));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(hSecond) && ::GetForegroundWindow() == hSecond; }));
    // The bar shows itself first and then takes its icon away.
    EXPECT_TRUE(WaitFor([&] { return !IconShown(hSecond); }));
    EXPECT_EQ(2u, BarProcessIds().size());
    EXPECT_EQ(2u, Setting("Instance Count"));
    ASSERT_TRUE(vecStarted.front()->Close());
    ASSERT_TRUE(bar.Close());
}

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The program's value in the user's Run key; nothing when there is none.
std::optional<std::string> RunValue()
{
    char szValue[MAX_PATH + 8] = {};
    DWORD cbValue = sizeof szValue;
    if (::RegGetValueA(HKEY_CURRENT_USER, kRunKey, "Sonobar", RRF_RT_REG_SZ, nullptr, szValue, &cbValue) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::string(szValue);
}

TEST_F(JourneyTest, StartWithWindowsWritesTheQuotedProgramPathAndChosenAgainDeletesIt)
{
    const CProgramCopy program("Sonobar start test", "sonobar-sim.exe");
    ASSERT_TRUE(program.Made());
    const std::string& strProgram = program.Path();
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonobar");
    {
        // One card: "Start With &Windows" is the seventh entry from the end.
        CBarProcess bar("", strProgram);
        ASSERT_NE(nullptr, bar.BarWindow());
        ASSERT_TRUE(ChooseFromTheEnd(bar, 7));
        EXPECT_TRUE(WaitFor([] { return RunValue().has_value(); }));
        EXPECT_EQ(Lower("\"" + strProgram + "\""), Lower(RunValue().value_or("(none)")));
        ASSERT_TRUE(ChooseFromTheEnd(bar, 7));
        EXPECT_TRUE(WaitFor([] { return !RunValue().has_value(); })) << RunValue().value_or("");
        ASSERT_TRUE(bar.Close());
    }
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Sonobar");
}

} // namespace
