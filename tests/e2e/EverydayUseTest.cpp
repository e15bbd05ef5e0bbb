// A user at a real copy of the test build, with the real keyboard and mouse of the X display:
// a key press on the slider that must not make the bar deaf to the next change made elsewhere,
// the menu opened from the keyboard, and the middle button on the tray icon.
#include "BarProcess.h"
#include "BarScreen.h"
#include "CopyTest.h"
#include "XInput.h"
#include "fw/ScopedHandles.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// No colour: a transparent pixel of an icon.
constexpr COLORREF kClear = 0xFFFFFFFF;

// The pixels of a 16 x 16 picture, top row first; the transparent ones are kClear.
std::vector<COLORREF> IconPixels(WORD nIconID)
{
    const CScopedIcon icon(static_cast<HICON>(::LoadImageA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIconID), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    ICONINFO info{};
    ::GetIconInfo(icon.Get(), &info);
    const CScopedBitmap colour(info.hbmColor);
    const CScopedBitmap mask(info.hbmMask);
    const CWindowDC screen(nullptr);
    const CScopedMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    std::vector<COLORREF> pixels(16 * 16);
    {
        const CSelectObject select(memory.Get(), colour.Get());
        for (int i = 0; i < 16 * 16; ++i)
            pixels[i] = ::GetPixel(memory.Get(), i % 16, i / 16);
    }
    const CSelectObject select(memory.Get(), mask.Get());
    for (int i = 0; i < 16 * 16; ++i)
        if (::GetPixel(memory.Get(), i % 16, i / 16) != RGB(0, 0, 0))
            pixels[i] = kClear;
    return pixels;
}

// Whether the first tray icon shows this picture. Wine's own tray window holds its icons in
// squares of its client height, and draws a changed icon over the old one without erasing it:
// only the new picture's opaque pixels tell which one it is.
bool TrayShows(WORD nIconID)
{
    const std::vector<COLORREF> picture = IconPixels(nIconID);
    const HWND hTray = ::FindWindowA("__winex11_standalone_tray", nullptr);
    RECT rcClient{};
    ::GetClientRect(hTray, &rcClient);
    const int cxSquare = rcClient.bottom;
    ::MapWindowPoints(hTray, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
    rcClient.right = rcClient.left + cxSquare;
    const std::vector<COLORREF> square = ScreenPixels(rcClient);
    const auto matchesAt = [&](int x, int y) {
        for (int i = 0; i < 16 * 16; ++i)
            if (picture[i] != kClear && square[(y + i / 16) * cxSquare + x + i % 16] != picture[i])
                return false;
        return true;
    };
    for (int y = 0; y + 16 <= cxSquare; ++y)
        for (int x = 0; x + 16 <= cxSquare; ++x)
            if (matchesAt(x, y))
                return true;
    return false;
}

using EverydayUseTest = CCopyTestOn<kMutesEverywhereCard>;

TEST_F(EverydayUseTest, EndOnTheSliderThenAChangeMadeElsewhereMovesTheThumb)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    ASSERT_EQ(50, SliderPos(bar.hSlider));

    // A click on the thumb gives the slider the keyboard and leaves the thumb where it is.
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hSlider; }));

    // End takes the thumb to the top and writes it; its release ends the movement. The bar
    // handles its input in order, so once Tab has taken the keyboard on to the mute button,
    // the release of End has been handled too.
    ASSERT_TRUE(XKeys("End Tab"));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hMute; }));
    EXPECT_EQ(100, SliderPos(bar.hSlider));
    ASSERT_FALSE(ProgramWrites(m_strLog, 1).empty());
    EXPECT_EQ(0xFFFFu, ProgramWrites(m_strLog, 1).back());

    // Another program sets 4 of 32 steps: the thumb follows at once, not one change later.
    EXPECT_EQ(1, SimDriverSetValues(m_strSession, 0, 1, {0x2000, 0x2000}));
    EXPECT_TRUE(WaitFor([&] { return SliderPos(bar.hSlider) == 12; })) << SliderPos(bar.hSlider);
}

TEST_F(EverydayUseTest, ShiftF10AndTheMenuKeyOpenTheMenuBelowTheMenuButton)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    const RECT rcButton = WindowRect(bar.hMenuButton);
    ASSERT_TRUE(XClick(Centre(ThumbRect(bar.hSlider))));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(bar.hBar) == bar.hSlider; }));

    for (const char* pszKeys : {"shift+F10", "Menu"}) {
        ASSERT_TRUE(XKeys(pszKeys)) << pszKeys;
        HWND hMenu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (hMenu = OpenMenuOf(bar.ProcessId())) != nullptr; })) << pszKeys;
        const RECT rcMenu = WindowRect(hMenu);
        EXPECT_EQ(rcButton.left, rcMenu.left) << pszKeys;
        EXPECT_EQ(rcButton.bottom + 1, rcMenu.top) << pszKeys;
        // A click beside the menu closes it. (Escape would not: the program's message filter
        // takes it for the bar's hide key even inside the menu.)
        ASSERT_TRUE(XClick(POINT{600, 500})) << pszKeys;
        ASSERT_TRUE(WaitFor([&] { return OpenMenuOf(bar.ProcessId()) == nullptr; })) << pszKeys;
    }
    EXPECT_TRUE(::IsWindowVisible(bar.hBar));
}

TEST_F(EverydayUseTest, MiddleClickOnTheTrayIconTogglesTheMuteAndItsPicture)
{
    CRunningBar bar;
    ASSERT_NE(nullptr, bar.hBar);
    ASSERT_TRUE(XClick(BodyPoint(bar.hBar, bar.hSlider)));
    ASSERT_TRUE(XKeys("Escape"));
    ASSERT_TRUE(WaitFor([&] { return IconShown(bar.hBar); }));
    const auto ptIcon = FirstTrayIconPoint();
    ASSERT_TRUE(ptIcon.has_value());
    // The tray window paints the new icon some time after the icon is added.
    ASSERT_TRUE(WaitFor([] { return TrayShows(IDI_BAR); }));

    size_t nClicks = 0;
    for (const DWORD dwMuted : {1u, 0u}) {
        ASSERT_TRUE(XClick(*ptIcon, 2));
        ++nClicks;
        ASSERT_TRUE(WaitFor([&] { return ProgramWrites(m_strLog, 2).size() == nClicks; }))
            << "muted " << dwMuted;
        EXPECT_EQ(dwMuted, ProgramWrites(m_strLog, 2).back());
        // Muted speakers strike the icon through.
        const WORD nShown = dwMuted ? IDI_MUTED : IDI_BAR;
        const WORD nGone = dwMuted ? IDI_BAR : IDI_MUTED;
        EXPECT_TRUE(WaitFor([&] { return TrayShows(nShown) && !TrayShows(nGone); })) << "muted " << dwMuted;
    }
    EXPECT_FALSE(::IsWindowVisible(bar.hBar));
}

} // namespace
