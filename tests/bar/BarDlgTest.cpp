// The bar created in this process against simulated cards: what its initialisation makes of
// the stored settings, and the tooltips that name the card and the line.
#include "app/StartupValues.h"
#include "bar/BarDlg.h"
#include "fw/WinApp.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <gtest/gtest.h>

namespace {

class BarDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
        sim::Reset();
        ASSERT_TRUE(sim::LoadCardsText(std::string(kSampleCard) + kSpeakersOnlyCard));
        m_app.m_strAppName = "Sonobar";
        m_app.SetRegistryKey("Quillmark");
        TakeCommandLine("sonobar.exe");
        g_bFirstInstance = 1;
        g_hBarWnd = nullptr;
    }
    void TearDown() override
    {
        if (m_bar.m_hWnd)
            m_bar.DestroyWindow();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
        sim::Reset();
    }

    std::string TipOf(HWND hTool) const { return m_bar.m_toolTip.GetText(hTool); }

    CWinApp m_app;
    CBarDlg m_bar;
};

TEST_F(BarDlgTest, MasterLineHasTheBareTipsAndTheBodyNamesTheCard)
{
    ASSERT_TRUE(m_bar.Create(IDD_BAR));
    EXPECT_EQ(m_bar.m_hWnd, g_hBarWnd);
    EXPECT_EQ("Menu (U)", TipOf(m_bar.m_btnMenu.m_hWnd));
    EXPECT_EQ("Volume (Lo...Hi)", TipOf(m_bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Mute (M)", TipOf(m_bar.m_btnMute.m_hWnd));
    EXPECT_EQ("Sim Audio", TipOf(m_bar.m_hWnd));
    EXPECT_EQ(4u, m_bar.m_pMixer->m_dwComponentType);
    EXPECT_EQ(1, m_app.GetProfileInt("Settings", "Instance Count", 0));
}

TEST_F(BarDlgTest, StoredSourceLineNamesItsTipsAndTheRoleChoosesTheCard)
{
    // Device 0's catalogue: "65536" (wave), "65537" (microphone); the microphone is entry 1.
    m_app.WriteProfileInt("Settings", "Component Type", 0x1003);
    m_app.WriteProfileInt("Settings", "Menu Index", 1);
    m_app.WriteProfileInt("Settings", "Card Index", 1);
    TakeCommandLine("sonobar.exe r0");

    ASSERT_TRUE(m_bar.Create(IDD_BAR));
    EXPECT_EQ(1, m_bar.m_bInput);
    EXPECT_EQ(0, m_bar.m_nCardIndex);
    EXPECT_EQ(1, m_bar.m_nMenuIndex);
    EXPECT_EQ("Microphone Volume (Lo...Hi)", TipOf(m_bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Microphone Mute (M)", TipOf(m_bar.m_btnMute.m_hWnd));
    EXPECT_EQ("Sim Audio", TipOf(m_bar.m_hWnd));
}

TEST_F(BarDlgTest, ButtonsTakeTheirPictureSizeAndTheCaptionIsGone)
{
    ASSERT_TRUE(m_bar.Create(IDD_BAR));
    RECT rc{};
    ::GetWindowRect(m_bar.m_btnMenu.m_hWnd, &rc);
    EXPECT_EQ(20, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    EXPECT_EQ(0, ::GetWindowLongA(m_bar.m_hWnd, GWL_STYLE) & WS_CAPTION);
    RECT rcWindow{};
    RECT rcClient{};
    ::GetWindowRect(m_bar.m_hWnd, &rcWindow);
    ::GetClientRect(m_bar.m_hWnd, &rcClient);
    EXPECT_EQ(rcWindow.right - rcWindow.left, rcClient.right);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, rcClient.bottom);
}

TEST_F(BarDlgTest, EnterAndTheDialogsOwnCancelNeverCloseTheBar)
{
    ASSERT_TRUE(m_bar.Create(IDD_BAR));
    ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(::IsWindow(m_bar.m_hWnd));

    const HWND hWnd = m_bar.m_hWnd;
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, m_app.GetProfileInt("Settings", "Instance Count", -7));
}

} // namespace
