// A user at a real copy of the test build picks one program from the bar's menu, with the real
// mouse and keyboard of the X display, and sets that program's own volume: the bar writes to the
// program's line and to no other, its tooltip names the program, and it comes back on it after a
// restart.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "mixer/VolumeScale.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kSpotify = 0x2F2;
constexpr DWORD kSpotifyVolume = 13;

using ApplicationJourneyTest = CCopyTestOn<kApplicationsCard>;

// The text of the copy's tooltip on the screen; empty while none shows. A tooltip answers
// WM_GETTEXT with the tip it shows; GetWindowText would not send it to another process's window.
std::string ShownTip(DWORD dwProcessId)
{
    HWND hWnd = nullptr;
    while ((hWnd = ::FindWindowExA(nullptr, hWnd, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
        DWORD dwOwner = 0;
        ::GetWindowThreadProcessId(hWnd, &dwOwner);
        char szText[256] = "";
        DWORD_PTR cchText = 0;
        if (dwOwner == dwProcessId && ::IsWindowVisible(hWnd) &&
            ::SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText),
                                  SMTO_NORMAL, 1000, &cchText) &&
            cchText > 0)
            return szText;
    }
    return {};
}

TEST_F(ApplicationJourneyTest, APickedProgramTakesTheKeysNamesItsTipAndStaysPicked)
{
    {
        CRunningBar bar;
        ASSERT_NE(nullptr, bar.hBar);
        ASSERT_EQ(50, SliderPos(bar.hSlider));

        // 1. "Spotify" is the second entry from the end: "System Sounds" follows it, and a single
        // card is not listed. The slider shows the program's level, 75 of 100 steps.
        ASSERT_TRUE(ChooseFromTheEnd(bar, 2));
        ASSERT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 75; })) << SliderPos(bar.hSlider);

        // 2. A click on the thumb gives the slider the keyboard; Right twice is two steps louder,
        // written to Spotify's volume alone.
        ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
        ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hSlider; }));
        const int nClicked = SliderPos(bar.hSlider);
        ASSERT_TRUE(XKeys("Right Right"));
        ASSERT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == nClicked + 2; }))
            << SliderPos(bar.hSlider);
        const int nPos = SliderPos(bar.hSlider);
        const DWORD dwExpected =
            LevelToValue(PositionToSteps(static_cast<UINT>(nPos), 1, 100, 100), 100, 0xFFFF);
        EXPECT_TRUE(WaitFor([&] {
            const std::vector<DWORD> writes = ProgramWrites(m_strLog, kSpotifyVolume);
            return !writes.empty() && writes.back() == dwExpected;
        }));
        for (const DWORD dwOther : {1u, 5u, 11u, 15u})
            EXPECT_TRUE(ProgramWrites(m_strLog, dwOther).empty()) << "control " << dwOther;

        // 3. The slider's tooltip names the program once the pointer comes to rest on it.
        ASSERT_TRUE(XMove(POINT{600, 500}));
        ASSERT_TRUE(XMove(Centre(WindowRect(bar.hSlider))));
        EXPECT_TRUE(WaitFor([&] { return ShownTip(bar.ProcessId()) == "Spotify Volume (Lo...Hi)"; }))
            << ShownTip(bar.ProcessId());

        // 4. Closed, the bar remembers the program.
        ASSERT_TRUE(XClick(BodyPoint(bar.hBar, bar.hSlider)));
        ASSERT_TRUE(XKeys("alt+F4"));
        EXPECT_EQ(0u, bar.WaitForExit());
    }
    EXPECT_EQ(kSpotify, Setting("Application"));
    EXPECT_EQ("Spotify", m_settings.ReadText("Application Name").value_or("(none)"));

    // 5. A new copy starts on Spotify: its card, read afresh from the file, has Spotify at 75 and
    // the master at 50.
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    EXPECT_EQ(75, SliderPos(bar.hSlider));
}

} // namespace
