// The bar created in this process against simulated cards: what its initialisation makes of
// the stored settings, and the tooltips that name the card and the line.
#include "BarTestSupport.h"

#include "app/StartupValues.h"
#include "fw/AnsiText.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"
#include "sim/SampleCards.h"

namespace {

class BarDlgTest : public BarTest {
protected:
    void SetUp() override
    {
        BarTest::SetUp();
        UseCards(std::string(kSampleCard) + kSpeakersOnlyCard);
    }
};

TEST_F(BarDlgTest, MasterLineHasTheBareTipsAndTheBodyNamesTheCard)
{
    const CBarDlg& bar = StartBar();
    ASSERT_NE(nullptr, bar.m_hWnd);
    EXPECT_EQ(bar.m_hWnd, g_hBarWnd);
    EXPECT_EQ("Menu (U)", TipOf(bar.m_btnMenu.m_hWnd));
    EXPECT_EQ("Volume (Lo...Hi)", TipOf(bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Mute (M)", TipOf(bar.m_btnMute.m_hWnd));
    EXPECT_EQ("Sim Audio", TipOf(bar.m_hWnd));
    EXPECT_EQ(4u, bar.m_pMixer->m_dwComponentType);
    EXPECT_EQ(1, m_app.GetProfileInt("Settings", "Instance Count", 0));
}

TEST_F(BarDlgTest, StoredSourceLineNamesItsTipsAndTheRoleChoosesTheCard)
{
    // Device 0's catalogue: "65536" (wave), "65537" (microphone); the microphone is entry 1.
    m_app.WriteProfileInt("Settings", "Component Type", 0x1003);
    m_app.WriteProfileInt("Settings", "Menu Index", 1);
    m_app.WriteProfileInt("Settings", "Card Index", 1);
    TakeCommandLine("sonobar.exe r0");

    const CBarDlg& bar = StartBar();
    ASSERT_NE(nullptr, bar.m_hWnd);
    EXPECT_EQ(1, bar.m_bInput);
    EXPECT_EQ(0, bar.m_nCardIndex);
    EXPECT_EQ(1, bar.m_nMenuIndex);
    EXPECT_EQ("Microphone Volume (Lo...Hi)", TipOf(bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Microphone Mute (M)", TipOf(bar.m_btnMute.m_hWnd));
    EXPECT_EQ("Sim Audio", TipOf(bar.m_hWnd));
}

TEST_F(BarDlgTest, AStoredLineThatTheCardOrSideLacksFallsBackToItsMaster)
{
    const struct {
        const char* pszCommandLine;
        int nStoredType;
        int nStoredMenu;
        DWORD dwMaster;
        int nStoredProgram = 0;
        const char* pszProgramCard = "";
    } cases[] = {
        {"sonobar.exe v1", 0x1003, 1, 4}, // the second card has no sources at all
        {"sonobar.exe r0", 0x1008, 0, 7}, // wave is played, not recorded
        {"sonobar.exe v1", 4, 9, 4, 0x1F1,
         "Sim Audio"}, // the first card's program, neither taken nor dropped
    };
    for (const auto& c : cases) {
        m_app.WriteProfileInt("Settings", "Component Type", c.nStoredType);
        m_app.WriteProfileInt("Settings", "Menu Index", c.nStoredMenu);
        m_app.WriteProfileInt("Settings", "Application", c.nStoredProgram);
        m_app.WriteProfileWideString("Settings", "Application Card", ToWide(c.pszProgramCard));
        TakeCommandLine(c.pszCommandLine);
        CBarDlg bar(m_copies);
        ASSERT_TRUE(bar.Create(IDD_BAR)) << c.pszCommandLine;
        EXPECT_EQ(9, bar.m_nMenuIndex) << c.pszCommandLine;
        EXPECT_EQ(c.dwMaster, bar.m_dwComponentType) << c.pszCommandLine;
        EXPECT_EQ(c.dwMaster, bar.m_pMixer->m_dwComponentType) << c.pszCommandLine;
        EXPECT_EQ(0u, bar.m_dwProgram) << c.pszCommandLine;
        EXPECT_EQ("Mute (M)", bar.m_toolTip.GetText(bar.m_btnMute.m_hWnd)) << c.pszCommandLine;
        bar.DestroyWindow();
        EXPECT_EQ(c.nStoredProgram, m_app.GetProfileInt("Settings", "Application", 0)) << c.pszCommandLine;
    }
}

TEST_F(BarDlgTest, ButtonsTakeTheirPictureSizeAndTheCaptionIsGone)
{
    const CBarDlg& bar = StartBar();
    ASSERT_NE(nullptr, bar.m_hWnd);
    RECT rc{};
    ::GetWindowRect(bar.m_btnMenu.m_hWnd, &rc);
    EXPECT_EQ(20, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    EXPECT_EQ(0, ::GetWindowLongA(bar.m_hWnd, GWL_STYLE) & WS_CAPTION);
    RECT rcWindow{};
    RECT rcClient{};
    ::GetWindowRect(bar.m_hWnd, &rcWindow);
    ::GetClientRect(bar.m_hWnd, &rcClient);
    EXPECT_EQ(rcWindow.right - rcWindow.left, rcClient.right);
    EXPECT_EQ(rcWindow.bottom - rcWindow.top, rcClient.bottom);
}

TEST_F(BarDlgTest, EnterAndTheDialogsOwnCancelNeverCloseTheBar)
{
    CBarDlg& bar = StartBar();
    ASSERT_NE(nullptr, bar.m_hWnd);
    ::SendMessageA(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ::SendMessageA(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(::IsWindow(bar.m_hWnd));

    const HWND hWnd = bar.m_hWnd;
    ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(0, m_app.GetProfileInt("Settings", "Instance Count", -7));
}

} // namespace
