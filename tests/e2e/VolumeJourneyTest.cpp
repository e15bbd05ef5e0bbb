// A user at a real copy of the test build, with the real mouse and keyboard of the X display:
// the thumb dragged, the mute button clicked, a change made by another program, the wheel
// turned, the bar moved, hidden, brought back and closed. Screenshots of the bar go to
// build/screens.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "mixer/VolumeScale.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VolumeJourneyTest = CCopyTestOn<kMutesEverywhereCard>;

TEST_F(VolumeJourneyTest, DragMuteFollowMoveAndClose)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    ASSERT_EQ(50, SliderPos(bar.hSlider)); // 16 of 32 steps

    // 1. The thumb dragged to the right writes while it moves, louder each time.
    const POINT ptThumb = Centre(ThumbRect(bar.hSlider));
    ASSERT_TRUE(XButtonDown(ptThumb));
    for (const int dx : {6, 12, 24})
        ASSERT_TRUE(XMove(Offset(ptThumb, dx, 0)));
    EXPECT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 1).size() >= 2; }));
    ASSERT_TRUE(XButtonUp(Offset(ptThumb, 24, 0)));
    ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 1).size() >= 3; }));
    const std::vector<DWORD> writes = ProgramWrites(m_strLog, 1);
    EXPECT_LT(0x8000u, writes.front());
    for (size_t i = 1; i < writes.size(); ++i)
        EXPECT_LE(writes[i - 1], writes[i]) << "write " << i;
    const int nPos = SliderPos(bar.hSlider);
    EXPECT_LT(50, nPos);
    EXPECT_EQ(LevelToValue(PositionToSteps(nPos, 1, 32, 100), 32, 0xFFFF), writes.back());

    // 2. A click on the mute button mutes, and its picture turns dim; a second click unmutes.
    ASSERT_EQ(MuteRow::Bright, ShownRow(bar.hMute, false));
    const POINT ptMute = Centre(WindowRect(bar.hMute));
    size_t nClicks = 0;
    for (const DWORD dwMuted : {1u, 0u}) {
        // Two clicks in quick succession would be a double-click, which a button does not take
        // for a click.
        ::Sleep(::GetDoubleClickTime());
        ASSERT_TRUE(XClick(ptMute));
        ++nClicks;
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 2).size() == nClicks; }));
        EXPECT_EQ(dwMuted, ProgramWrites(m_strLog, 2).back());
        const MuteRow expected = dwMuted ? MuteRow::Dim : MuteRow::Bright;
        EXPECT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, false) == expected; })) << "muted " << dwMuted;
    }

    // 3. Another program sets 4 of 32 steps: the thumb follows.
    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, 1, {0x2000, 0x2000}));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 12; })) << SliderPos(bar.hSlider);

    // 4. The wheel turned away from the user over the slider: two notches, two lines louder.
    ASSERT_TRUE(XWheel(Centre(WindowRect(bar.hSlider)), 2));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 14; })) << SliderPos(bar.hSlider);

    // 5. A drag on the body moves the bar; Alt+F4 closes it, and the new place is saved.
    const RECT rcBefore = WindowRect(bar.hBar);
    const POINT ptBody = BodyPoint(bar.hBar, bar.hSlider);
    ASSERT_EQ(bar.hBar, ::WindowFromPoint(ptBody));
    ASSERT_TRUE(XButtonDown(ptBody));
    ASSERT_TRUE(XMove(Offset(ptBody, 20, 10)));
    ASSERT_TRUE(XMove(Offset(ptBody, 60, 40)));
    ASSERT_TRUE(XButtonUp(Offset(ptBody, 60, 40)));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(bar.hBar).left == rcBefore.left + 60; }));
    EXPECT_EQ(rcBefore.top + 40, WindowRect(bar.hBar).top);
    ASSERT_TRUE(XKeys("alt+F4"));
    EXPECT_EQ(0u, bar.WaitForExit());
    EXPECT_EQ(static_cast<DWORD>(rcBefore.left + 60), m_settings.Read("X Coordinate"));
    EXPECT_EQ(static_cast<DWORD>(rcBefore.top + 40), m_settings.Read("Y Coordinate"));
}

TEST_F(VolumeJourneyTest, EscapeHidesTheBarAndAClickOnItsIconBringsItBack)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    // A click on the body gives the bar the keyboard (and moves it nowhere).
    ASSERT_TRUE(XClick(BodyPoint(bar.hBar, bar.hSlider)));
    ASSERT_TRUE(XKeys("Escape"));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(bar.hBar); }));
    EXPECT_TRUE(WaitFor([&] { return IconShown(bar.hBar); }));
    EXPECT_FALSE(bar.WaitForExit(300).has_value());

    const auto ptIcon = FirstTrayIconPoint();
    ASSERT_TRUE(ptIcon.has_value());
    ASSERT_TRUE(XClick(*ptIcon));
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(bar.hBar) != FALSE; }));
    EXPECT_TRUE(WaitFor([&] { return !IconShown(bar.hBar); }));
}

TEST_F(VolumeJourneyTest, MutePictureOfEveryKindOfLineDimsWhenAnotherProgramMutes)
{
    const struct {
        const char* pszName;
        DWORD dwInput;
        DWORD dwComponentType;
        DWORD dwMenuIndex;
        DWORD dwMute;
        DWORD dwMutedValue;
    } lines[] = {
        {"output-master", 0, 4, 9, 2, 1},
        {"output-wave", 0, 0x1008, 0, 7, 1},
        {"input-microphone", 1, 0x1003, 0, 4, 0},
    };
    for (const auto& line : lines) {
        m_settings.Write("Input Volume", line.dwInput);
        m_settings.Write("Component Type", line.dwComponentType);
        m_settings.Write("Menu Index", line.dwMenuIndex);
        CRunningBar bar;
        ASSERT_NE(nullptr, bar.hBar) << line.pszName;
        const bool bInput = line.dwInput != 0;
        EXPECT_EQ(MuteRow::Bright, ShownRow(bar.hMute, bInput)) << line.pszName;
        EXPECT_TRUE(
            XScreenshot(WindowRect(bar.hBar), ScreenshotPath(std::string(line.pszName) + "-unmuted.png")));

        EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, line.dwMute, {line.dwMutedValue})) << line.pszName;
        EXPECT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, bInput) == MuteRow::Dim; })) << line.pszName;
        EXPECT_TRUE(
            XScreenshot(WindowRect(bar.hBar), ScreenshotPath(std::string(line.pszName) + "-muted.png")));
        ASSERT_TRUE(bar.Close()) << line.pszName;
    }
}

} // namespace
