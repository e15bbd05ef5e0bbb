// Pictures of the program for people (the README, reviews): the bar on each side, muted and not,
// on a source line; its popup menu with two cards and with three programs; two bars stacked; the
// about box; the Keys dialog; the bar and its menu in high contrast. Real copies driven with real X input
// write them to build/screens/.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "ScreenSettings.h"
#include "XInput.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

#include <gtest/gtest.h>

#include <string>

namespace {

RECT Around(RECT rc, int nMargin)
{
    ::InflateRect(&rc, nMargin, nMargin);
    rc.left = rc.left < 0 ? 0 : rc.left;
    rc.top = rc.top < 0 ? 0 : rc.top;
    return rc;
}

RECT Union(const RECT& rcA, const RECT& rcB)
{
    RECT rc{};
    ::UnionRect(&rc, &rcA, &rcB);
    return rc;
}

class ScreensTest : public CCopyTestOn<kSampleCard> {
protected:
    // The bar unmuted, then muted by a click on its mute button.
    void ShootBothMuteStates(const CRunningBar& bar, const std::string& strName, bool bInput)
    {
        ASSERT_NE(nullptr, bar.hBar) << strName;
        ASSERT_EQ(MuteRow::Bright, ShownRow(bar.hMute, bInput)) << strName;
        EXPECT_TRUE(XScreenshot(Around(WindowRect(bar.hBar), 4), ScreenshotPath(strName + ".png")));
        ASSERT_TRUE(XClick(Centre(WindowRect(bar.hMute))));
        ASSERT_TRUE(XMove(POINT{600, 500}));
        EXPECT_TRUE(WaitFor([&] { return ShownRow(bar.hMute, bInput) == MuteRow::Dim; })) << strName;
        EXPECT_TRUE(XScreenshot(Around(WindowRect(bar.hBar), 4), ScreenshotPath(strName + "-muted.png")));
    }

    // The bar with the menu that is opening, then a click beside the menu closes it.
    static void ShootOpenMenu(const CBarProcess& bar, const std::string& strName)
    {
        HWND hMenu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hMenu = OpenMenuOf(bar.ProcessId())) != nullptr; })) << strName;
        ::Sleep(300);
        EXPECT_TRUE(XScreenshot(Around(Union(WindowRect(bar.BarWindow()), WindowRect(hMenu)), 4),
                                ScreenshotPath(strName + ".png")));
        ASSERT_TRUE(XClick(POINT{600, 500}));
        ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; })) << strName;
    }
};

TEST_F(ScreensTest, TheBarOnEachSideMutedAndNotAndOnASourceLine)
{
    UseSimulatedCards(kMutesEverywhereCard);
    {
        CRunningBar bar("v0");
        ShootBothMuteStates(bar, "bar-output", false);
    }
    {
        CRunningBar bar("r0");
        ShootBothMuteStates(bar, "bar-input", true);
    }
    // The wave source, entry 0 of the sample card's catalogue, on the output side.
    m_settings.Write("Component Type", 0x1008);
    m_settings.Write("Menu Index", 0);
    CRunningBar bar("v0");
    ShootBothMuteStates(bar, "bar-source", false);
}

TEST_F(ScreensTest, TheMenuWithTwoCardsTwoBarsStackedTheAboutBoxAndTheKeys)
{
    UseSimulatedCards(std::string(kSampleCard) + kSpeakersOnlyCard);
    CRunningBar first("v0");
    ASSERT_NE(nullptr, first.hBar);

    ASSERT_TRUE(XClick(Centre(WindowRect(first.hMenuButton))));
    ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(first.ProcessId()) != nullptr; }));
    ::Sleep(300);
    EXPECT_TRUE(
        XScreenshot(Around(Union(WindowRect(first.hBar), WindowRect(OpenMenuOf(first.ProcessId()))), 4),
                    ScreenshotPath("menu-two-cards.png")));
    // A click beside the menu closes it.
    ASSERT_TRUE(XClick(POINT{600, 500}));
    ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(first.ProcessId()) == nullptr; }));

    CBarProcess second("v1");
    const HWND hSecond = second.BarWindow();
    ASSERT_NE(hSecond, nullptr);
    EXPECT_EQ(WindowRect(hSecond).top, WindowRect(first.hBar).bottom)
        << "the second bar stands right beneath";
    EXPECT_TRUE(XScreenshot(Around(Union(WindowRect(first.hBar), WindowRect(hSecond)), 4),
                            ScreenshotPath("two-bars.png")));

    // "&About Sonobar" is the eleventh entry from the end: two cards, the wave line, the master,
    // the two sides, the three options and the keys come after it.
    ASSERT_TRUE(ChooseFromTheEnd(first, 11));
    HWND hAbout = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hAbout = ::FindWindowA(nullptr, "About Sonobar")) != nullptr; }));
    // Wine paints the caption of a new box a moment after the box shows.
    ::Sleep(1000);
    EXPECT_TRUE(XScreenshot(Around(WindowRect(hAbout), 2), ScreenshotPath("about.png")));
    ASSERT_TRUE(XKeys("Return"));
    EXPECT_TRUE(WaitFor([] { return ::FindWindowA(nullptr, "About Sonobar") == nullptr; }));

    // "&Keys...", the eighth entry from the end, with two keys typed in and cancelled after.
    ASSERT_TRUE(ChooseFromTheEnd(first, 8));
    HWND hKeys = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (hKeys = ::FindWindowA(nullptr, "Keys: Speakers")) != nullptr; }));
    ASSERT_TRUE(XKeys("ctrl+alt+Up Tab ctrl+alt+Down"));
    ::Sleep(1000);
    EXPECT_TRUE(XScreenshot(Around(WindowRect(hKeys), 2), ScreenshotPath("keys.png")));
    ASSERT_TRUE(XKeys("Escape"));
    EXPECT_TRUE(WaitFor([] { return ::FindWindowA(nullptr, "Keys: Speakers") == nullptr; }));
}

TEST_F(ScreensTest, TheMenuWithThreeProgramsOneOfThemChosen)
{
    UseSimulatedCards(kApplicationsCard);
    CRunningBar bar("v0");
    ASSERT_NE(nullptr, bar.hBar);
    // "Spotify", the second entry from the end, as the bar's line.
    ASSERT_TRUE(ChooseFromTheEnd(bar, 2));

    ASSERT_TRUE(XClick(Centre(WindowRect(bar.hMenuButton))));
    ShootOpenMenu(bar, "menu-applications");
}

TEST_F(ScreensTest, TheBarAndItsMenuInHighContrastBlack)
{
    UseSimulatedCards(kMutesEverywhereCard);
    const CHighContrastBlack contrast;
    CRunningBar bar("v0");
    ASSERT_NE(nullptr, bar.hBar);
    // Muted by its button, which keeps the keyboard and shows the focus cue.
    ShootBothMuteStates(bar, "bar-high-contrast", false);

    ASSERT_TRUE(XKeys("shift+F10"));
    ShootOpenMenu(bar, "menu-high-contrast");
}

} // namespace
