// The bar's popup menu in process, against simulated cards: what it holds, which entries are
// greyed when it opens, its commands and where it opens. The menu's choices are sent as the menu
// sends them: WM_COMMAND with the entry's id and no control window.
#include "BarTestSupport.h"

#include "app/StartupValues.h"
#include "mixer/MixerDevice.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "support/MenuEntries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Two speakers sources and a recording microphone, for choosing lines on either side.
constexpr char kTwoSidesCard[] = "card Two Sides\n"
                                 "dest 0x0 4 2 Speakers\n"
                                 "control 1 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                 "control 2 mute 1 1 0\n"
                                 "source 0x10000 0x1008 2 Wave\n"
                                 "control 5 volume 0xFFFF 32 0 0x4000 0x4000\n"
                                 "source 0x10001 0x1003 1 Microphone\n"
                                 "control 7 volume 0xFFFF 32 0 0x1000\n"
                                 "dest 0x1 7 2 Recording Control\n"
                                 "control 3 volume 0xFFFF 32 0 0x8000 0x8000\n"
                                 "control 4 mixer 1 2 1 1\n"
                                 "source 0x10002 0x1003 1 Microphone\n"
                                 "control 6 volume 0xFFFF 32 0 0x4000\n";

class BarMenuTest : public BarTest {
protected:
    // A fresh bar on the given cards, started with the given command line.
    CBarDlg& StartBar(const std::string& strCards, const char* pszCommandLine = "sonobar.exe")
    {
        EndBar();
        UseCards(strCards);
        TakeCommandLine(pszCommandLine);
        // No card at all shows the no-driver message, which the watch closes.
        MenuOpenedBy([this] { BarTest::StartBar(); });
        return *m_pBar;
    }

    void Choose(UINT nID) const { ::SendMessageA(m_pBar->m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0); }

    // What the menu shows is set as it opens.
    void OpenMenu() const { ::SendMessageA(m_pBar->m_hWnd, WM_INITMENUPOPUP, 0, 0); }

    UINT State(UINT nID) const
    {
        OpenMenu();
        return ::GetMenuState(m_pBar->m_hMenuPopup, nID, MF_BYCOMMAND);
    }
    bool IsGrayed(UINT nID) const { return (State(nID) & MF_GRAYED) != 0; }
    bool IsChecked(UINT nID) const { return (State(nID) & MF_CHECKED) != 0; }
};

TEST_F(BarMenuTest, PlatformEntriesComeFirstWithoutSizeAndMaximise)
{
    const CBarDlg& bar = StartBar(kSampleCard);
    std::vector<UINT> vecIds;
    for (const SMenuEntry& entry : MenuEntries(bar.m_hMenuPopup))
        vecIds.push_back(entry.nID);
    const std::vector<UINT> vecFirst(vecIds.begin(), vecIds.begin() + 5);
    EXPECT_EQ((std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_MINIMIZE, 0, SC_CLOSE}), vecFirst);
    EXPECT_EQ(vecIds.end(), std::find(vecIds.begin(), vecIds.end(), SC_SIZE));
    EXPECT_EQ(vecIds.end(), std::find(vecIds.begin(), vecIds.end(), SC_MAXIMIZE));
}

TEST_F(BarMenuTest, BuiltMenuForOneTwoAndFourCards)
{
    const std::vector<SMenuEntry> vecCommon = {
        {ID_ABOUT, "&About Sonobar", false, false},
        kMenuSeparator, // the template's first position is a placeholder
        {ID_START_IN_TRAY, "Start In &Tray", false, false},
        {ID_START_WITH_WINDOWS, "Start With &Windows", false, false},
        {ID_KEYS, "&Keys...", false, false},
        {ID_ALWAYS_ON_TOP, "&Always OnTop", true, false},
        kMenuSeparator,
        {ID_OUTPUT_VOLUME, "&Output Volume", true, false},
        {ID_INPUT_VOLUME, "&Input Volume", false, false},
        kMenuSeparator,
        {ID_MASTER_VOLUME, "Master Volme", true, false},
        {ID_CONTROL2, "Wave", false, false},
    };
    const std::string strThirdCard = "card Third Card\ndest 0x0 4 2 Speakers\n";
    const std::string strFourthCard = "card Fourth Card\ndest 0x0 4 2 Speakers\n";
    const struct {
        std::string strCards;
        std::vector<SMenuEntry> vecCardEntries;
    } cases[] = {
        {kSampleCard, {}},
        {std::string(kSampleCard) + kSpeakersOnlyCard,
         {kMenuSeparator,
          {ID_CARD1, "&1.  Sim Audio", true, false},
          {ID_CARD2, "&2.  Second Card", false, false}}},
        // Only three cards have commands; the fourth is listed, greyed.
        {std::string(kSampleCard) + kSpeakersOnlyCard + strThirdCard + strFourthCard,
         {kMenuSeparator,
          {ID_CARD1, "&1.  Sim Audio", true, false},
          {ID_CARD2, "&2.  Second Card", false, false},
          {ID_CARD3, "&3.  Third Card", false, false},
          {0, "&4.  Fourth Card", false, true}}},
    };
    for (const auto& c : cases) {
        const CBarDlg& bar = StartBar(c.strCards);
        OpenMenu();
        std::vector<SMenuEntry> vecExpected = vecCommon;
        vecExpected.insert(vecExpected.end(), c.vecCardEntries.begin(), c.vecCardEntries.end());
        EXPECT_EQ(vecExpected, MenuEntriesFrom(bar.m_hMenuPopup, ID_ABOUT))
            << c.vecCardEntries.size() << " card entries";
    }
}

TEST_F(BarMenuTest, LineEntriesAreNamedFromTheCatalogue)
{
    const auto card = [](const std::string& strSources) {
        return "card Lines\ndest 0x0 4 2 Speakers\ncontrol 1 volume 0xFFFF 32 0 0 0\n" + strSources;
    };
    std::string strElevenSources;
    for (int i = 0; i <= 10; ++i)
        strElevenSources += "source " + std::to_string(0x10000 + i) + " " + std::to_string(0x1000 + i) +
                            " 2 Line " + std::to_string(i) + "\ncontrol " + std::to_string(10 + i) +
                            " volume 0xFFFF 32 0 0 0\n";
    const struct {
        const char* pszCase;
        std::string strCards;
        std::vector<SMenuEntry> vecLines;
    } cases[] = {
        {"the marker text alone becomes a separator, compared with its case",
         card("source 0x10000 0x1008 2 Separator\nsource 0x10001 0x1005 2 separator\n"
              "source 0x10002 0x1002 2 Line In\n"),
         {kMenuSeparator, {ID_CONTROL3, "separator", false, true}, {ID_CONTROL4, "Line In", false, true}}},
        {"a name that cannot be read never repeats the one before it",
         card("source 0x10000 0x1008 2 Wave\nsource 0x10001 0x1008 2 Wave Two\n"),
         {{ID_CONTROL2, "Wave", false, true}, {ID_CONTROL3, "Control&3", false, true}}},
        {"more than nine sources: the first nine",
         card(strElevenSources),
         {{ID_CONTROL2, "Line 0", false, true},
          {ID_CONTROL3, "Line 1", false, true},
          {ID_CONTROL4, "Line 2", false, true},
          {ID_CONTROL5, "Line 3", false, true},
          {ID_CONTROL6, "Line 4", false, true},
          {ID_CONTROL7, "Line 5", false, true},
          {ID_CONTROL8, "Line 6", false, true},
          {ID_CONTROL9, "Line 7", false, true},
          {ID_CONTROL10, "Line 8", false, true}}},
    };
    for (const auto& c : cases) {
        // Hidden, every line entry is grey; the states of a shown bar have their own test.
        CBarDlg& bar = StartBar(c.strCards);
        ::ShowWindow(bar.m_hWnd, SW_HIDE);
        OpenMenu();
        const std::vector<SMenuEntry> vecEntries = MenuEntriesFrom(bar.m_hMenuPopup, ID_ABOUT);
        const auto itMaster = std::find_if(vecEntries.begin(), vecEntries.end(), [](const SMenuEntry& entry) {
            return entry.nID == ID_MASTER_VOLUME;
        });
        ASSERT_NE(vecEntries.end(), itMaster) << c.pszCase;
        EXPECT_EQ(c.vecLines, std::vector<SMenuEntry>(itMaster + 1, vecEntries.end())) << c.pszCase;
    }
}

TEST_F(BarMenuTest, LineThatThisCardOrSideLacksIsGreyed)
{
    const std::string strCards = std::string(kTwoSidesCard) + kSpeakersOnlyCard;
    const struct {
        const char* pszCommandLine;
        bool bWaveGrayed;
        bool bMicrophoneGrayed;
    } cases[] = {
        {"sonobar.exe v0", false, false},
        {"sonobar.exe r0", true, false}, // the recording side has a microphone, no wave source
        {"sonobar.exe v1", true, true},  // the second card has no sources at all
    };
    for (const auto& c : cases) {
        StartBar(strCards, c.pszCommandLine);
        OpenMenu();
        EXPECT_EQ(c.bWaveGrayed, IsGrayed(ID_CONTROL2)) << c.pszCommandLine;
        EXPECT_EQ(c.bMicrophoneGrayed, IsGrayed(ID_CONTROL3)) << c.pszCommandLine;
    }
}

TEST_F(BarMenuTest, StatesOfAShownAndAHiddenBar)
{
    const struct {
        UINT nID;
        bool bGrayedShown;
        bool bGrayedHidden;
    } cases[] = {
        {SC_RESTORE, true, false},        {SC_MOVE, false, true},
        {SC_MINIMIZE, false, true},       {ID_ALWAYS_ON_TOP, false, true},
        {ID_MASTER_VOLUME, false, true},  {ID_CONTROL2, false, true},
        {ID_CARD1, false, true},          {ID_CARD2, false, true},
        {SC_CLOSE, false, false},         {ID_ABOUT, false, false},
        {ID_START_IN_TRAY, false, false}, {ID_OUTPUT_VOLUME, false, false},
        {ID_INPUT_VOLUME, false, false},  {ID_START_WITH_WINDOWS, false, false},
    };
    CBarDlg& bar = StartBar(std::string(kSampleCard) + kSpeakersOnlyCard);
    // Entries that the states leave alone stay enabled even when something greyed them.
    for (const UINT nID : {SC_CLOSE, ID_ABOUT, ID_START_IN_TRAY, ID_OUTPUT_VOLUME, ID_INPUT_VOLUME})
        ::EnableMenuItem(bar.m_hMenuPopup, nID, MF_BYCOMMAND | MF_ENABLED);
    for (const bool bShown : {true, false}) {
        ::ShowWindow(bar.m_hWnd, bShown ? SW_SHOW : SW_HIDE);
        OpenMenu();
        for (const auto& c : cases)
            EXPECT_EQ(bShown ? c.bGrayedShown : c.bGrayedHidden, IsGrayed(c.nID))
                << c.nID << (bShown ? " shown" : " hidden");
    }
}

TEST_F(BarMenuTest, WithoutAnyCardTheMasterEntryIsGreyAndThereAreNoLines)
{
    CBarDlg& bar = StartBar("");
    OpenMenu();
    EXPECT_TRUE(IsGrayed(ID_MASTER_VOLUME));
    const std::vector<SMenuEntry> vecEntries = MenuEntriesFrom(bar.m_hMenuPopup, ID_ABOUT);
    ASSERT_FALSE(vecEntries.empty());
    EXPECT_EQ(ID_MASTER_VOLUME, vecEntries.back().nID);
}

TEST_F(BarMenuTest, AlwaysOnTopTwiceTakesTheBarOutOfTheTopmostBandAndBack)
{
    CBarDlg& bar = StartBar(kSampleCard);
    const auto isTopmost = [&bar] {
        return (::GetWindowLongA(bar.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    };
    ASSERT_TRUE(isTopmost());
    ASSERT_TRUE(IsChecked(ID_ALWAYS_ON_TOP));
    Choose(ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(IsChecked(ID_ALWAYS_ON_TOP));
    EXPECT_FALSE(isTopmost());
    Choose(ID_ALWAYS_ON_TOP);
    EXPECT_TRUE(IsChecked(ID_ALWAYS_ON_TOP));
    EXPECT_TRUE(isTopmost());
    Choose(ID_ALWAYS_ON_TOP);

    // What is saved is what the menu shows.
    bar.DestroyWindow();
    EXPECT_EQ(0, m_app.GetProfileInt("Settings", "Always On Top", -1));
}

TEST_F(BarMenuTest, StartInTrayChangesOnlyItsMarkAndFlagUntilTheNextStart)
{
    CBarDlg& bar = StartBar(kSampleCard);
    const RECT rcBefore = [&bar] {
        RECT rc{};
        ::GetWindowRect(bar.m_hWnd, &rc);
        return rc;
    }();
    Choose(ID_START_IN_TRAY);
    EXPECT_TRUE(IsChecked(ID_START_IN_TRAY));
    EXPECT_EQ(1, bar.m_bStartInTray);
    EXPECT_TRUE(::IsWindowVisible(bar.m_hWnd));
    RECT rcAfter{};
    ::GetWindowRect(bar.m_hWnd, &rcAfter);
    EXPECT_TRUE(::EqualRect(&rcBefore, &rcAfter));

    bar.DestroyWindow();
    EXPECT_EQ(1, m_app.GetProfileInt("Settings", "Start In Tray", -1));
}

TEST_F(BarMenuTest, ChoosingASourceAndThenTheMasterOnTheInputSide)
{
    // Catalogue: "65536" Wave, "65537" Microphone; the recording side's microphone is line 0x10002.
    CBarDlg& bar = StartBar(kTwoSidesCard, "sonobar.exe r0");
    Choose(ID_CONTROL3);
    EXPECT_TRUE(IsChecked(ID_CONTROL3));
    EXPECT_FALSE(IsChecked(ID_MASTER_VOLUME));
    EXPECT_EQ(1, bar.m_nMenuIndex);
    EXPECT_EQ(0x1003u, bar.m_dwComponentType);
    EXPECT_EQ(0x10002u, bar.m_pMixer->m_line.dwLineID);
    EXPECT_EQ(6u, bar.m_pMixer->m_ctlVolume.dwControlID);
    EXPECT_EQ("Microphone Volume (Lo...Hi)", TipOf(bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Microphone Mute (M)", TipOf(bar.m_btnMute.m_hWnd));
    EXPECT_EQ(&bar.m_bmpLine[0x1003 - 0x1000], bar.m_btnMute.m_pBitmap) << "the microphone's picture";
    EXPECT_TRUE(::IsWindowEnabled(bar.m_sliderVolume.m_hWnd));

    Choose(ID_MASTER_VOLUME);
    EXPECT_TRUE(IsChecked(ID_MASTER_VOLUME));
    EXPECT_FALSE(IsChecked(ID_CONTROL3));
    EXPECT_EQ(9, bar.m_nMenuIndex);
    EXPECT_EQ(7u, bar.m_dwComponentType);
    EXPECT_EQ("Volume (Lo...Hi)", TipOf(bar.m_sliderVolume.m_hWnd));
    EXPECT_EQ("Mute (M)", TipOf(bar.m_btnMute.m_hWnd));
    EXPECT_EQ(&bar.m_bmpLine[kMasterLineBitmap], bar.m_btnMute.m_pBitmap) << "the master's picture";
    const DWORD dwLine = bar.m_pMixer->m_line.dwLineID;
    const DWORD dwVolume = bar.m_pMixer->m_ctlVolume.dwControlID;
    const BOOL bHasVolume = bar.m_pMixer->m_bHasVolume;

    // Exactly what a start with the master entry on the input side drives.
    bar.DestroyWindow();
    const CBarDlg& fresh = StartBar(kTwoSidesCard, "sonobar.exe r0");
    EXPECT_EQ(9, fresh.m_nMenuIndex);
    EXPECT_EQ(dwLine, fresh.m_pMixer->m_line.dwLineID);
    EXPECT_EQ(dwVolume, fresh.m_pMixer->m_ctlVolume.dwControlID);
    EXPECT_EQ(bHasVolume, fresh.m_pMixer->m_bHasVolume);
    EXPECT_EQ(0x1u, dwLine);
    EXPECT_EQ(3u, dwVolume);
}

TEST_F(BarMenuTest, MarksFollowTheChoicesFromEitherMenu)
{
    // One choice after the other on the recording side, whose card lacks the wave source: from
    // the popup (WM_COMMAND) or from the window menu as the platform shows it, the taskbar's
    // (WM_SYSCOMMAND). The entries checked when the menu opens next, the side's always among them.
    const UINT nTray = ID_START_IN_TRAY;
    const UINT nTop = ID_ALWAYS_ON_TOP;
    const UINT nSide = ID_INPUT_VOLUME;
    const struct {
        const char* pszChoice;
        UINT nMessage;
        UINT nID;
        std::vector<UINT> vecChecked;
    } choices[] = {
        {"the microphone", WM_COMMAND, ID_CONTROL3, {nTop, nSide, ID_CONTROL3}},
        {"the wave source, greyed here", WM_COMMAND, ID_CONTROL2, {nTop, nSide, ID_CONTROL2}},
        {"a line the menu does not list", WM_COMMAND, ID_CONTROL10, {nTop, nSide, ID_CONTROL2}},
        {"start in tray, taskbar", WM_SYSCOMMAND, ID_START_IN_TRAY, {nTray, nTop, nSide, ID_CONTROL2}},
        {"the master, taskbar", WM_SYSCOMMAND, ID_MASTER_VOLUME, {nTray, nTop, nSide, ID_MASTER_VOLUME}},
        {"always on top", WM_COMMAND, ID_ALWAYS_ON_TOP, {nTray, nSide, ID_MASTER_VOLUME}},
    };
    CBarDlg& bar = StartBar(kTwoSidesCard, "sonobar.exe r0");
    for (const auto& c : choices) {
        ::SendMessageA(bar.m_hWnd, c.nMessage, c.nID, 0);
        OpenMenu();
        std::vector<UINT> vecChecked;
        for (const SMenuEntry& entry : MenuEntriesFrom(bar.m_hMenuPopup, ID_ABOUT)) {
            if (entry.bChecked)
                vecChecked.push_back(entry.nID);
        }
        EXPECT_EQ(c.vecChecked, vecChecked) << c.pszChoice;
    }
}

TEST_F(BarMenuTest, MoveAndPlatformEntriesWithoutACommandOfTheBarGoToThePlatform)
{
    // 0xF170 is SC_MONITORPOWER: a system command, but none the bar's menu has.
    const CBarDlg& bar = StartBar(kSampleCard);
    MSG msg{};
    while (::PeekMessageA(&msg, bar.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
    }
    for (const UINT nID : {0xF170u, static_cast<UINT>(SC_MOVE)}) {
        Choose(nID);
        const bool bPosted =
            ::PeekMessageA(&msg, bar.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) != FALSE;
        EXPECT_TRUE(bPosted) << nID;
        EXPECT_EQ(nID, bPosted ? msg.wParam : 0) << nID;
        EXPECT_EQ(0, msg.lParam) << nID; // for SC_MOVE: the keyboard's move
    }
}

TEST_F(BarMenuTest, MenuOpensBelowTheMenuButtonAndAtTheContextMenusPoint)
{
    CBarDlg& bar = StartBar(kSampleCard);
    RECT rcButton{};
    ::GetWindowRect(bar.m_btnMenu.m_hWnd, &rcButton);

    const auto rcBelowButton = MenuOpenedBy([&bar] {
        ::SendMessageA(bar.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_MENU_BUTTON, BN_CLICKED),
                       reinterpret_cast<LPARAM>(bar.m_btnMenu.m_hWnd));
    });
    ASSERT_TRUE(rcBelowButton.has_value());
    EXPECT_EQ(rcButton.left, rcBelowButton->left);
    EXPECT_EQ(rcButton.bottom + 1, rcBelowButton->top);

    const auto rcAtPoint = MenuOpenedBy([&bar] {
        ::SendMessageA(bar.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_sliderVolume.m_hWnd),
                       MAKELPARAM(200, 150));
    });
    ASSERT_TRUE(rcAtPoint.has_value());
    EXPECT_EQ(200, rcAtPoint->left);
    EXPECT_EQ(150, rcAtPoint->top);

    // The menu button's own context menu request opens nothing.
    const auto rcFromButton = MenuOpenedBy([&bar] {
        ::SendMessageA(bar.m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar.m_btnMenu.m_hWnd),
                       MAKELPARAM(200, 150));
    });
    EXPECT_FALSE(rcFromButton.has_value());
    Pump();
}

TEST_F(BarMenuTest, ValuesOutOfRangeAreReadAsTheirDefaultsAndSavedRepaired)
{
    const struct {
        const char* pszName;
        int nStored;
        int nSaved;
    } cases[] = {
        {"Menu Index", 1000, 9}, {"Menu Index", -1, 9},   {"Menu Index", 0, 0}, // 0: the wave source
        {"Input Volume", 2, 0},  {"Input Volume", -1, 0}, {"Input Volume", 1, 1},
    };
    for (const auto& c : cases) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmark");
        m_app.WriteProfileInt("Settings", "Component Type", 0x1008);
        m_app.WriteProfileInt("Settings", c.pszName, c.nStored);
        CBarDlg& bar = StartBar(kSampleCard);
        bar.DestroyWindow();
        EXPECT_EQ(c.nSaved, m_app.GetProfileInt("Settings", c.pszName, -7)) << c.pszName << " " << c.nStored;
    }
}

} // namespace
