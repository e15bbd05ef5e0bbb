// The bar's live behaviour against simulated cards: the slider writes the volume, the mute button
// toggles the mute, and changes made by other programs come back through the mixer's
// notifications, except the echo of the bar's own write.
#include "BarTestSupport.h"

#include "bar/TrayIcon.h"
#include "mixer/MixerDevice.h"
#include "mixer/VolumeScale.h"
#include "res/resource.h"
#include "sim/SampleCards.h"
#include "sim/SimMixer.h"

#include <vector>

namespace {

// The sample card's speakers master: volume control 1 with 32 steps, mute control 2.
constexpr DWORD kSpeakersVolume = 1;
constexpr DWORD kSpeakersMute = 2;

// The steps of each channel that a volume control holds.
std::vector<DWORD> Levels(DWORD dwControlID, UINT nCard = 0)
{
    std::vector<DWORD> levels;
    for (const DWORD dwValue : sim::GetValues(nCard, dwControlID))
        levels.push_back(ValueToLevel(dwValue, 32, 0xFFFF));
    return levels;
}

class BarVolumeTest : public BarTest {
protected:
    int SliderPos() const { return m_pBar->m_sliderVolume.GetPos(); }
    void SetSliderPos(int nPos) { m_pBar->m_sliderVolume.SetPos(nPos); }
    void Wheel(HWND hWnd, int nDelta)
    {
        MSG msg{hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(nDelta)), 0, 0, {}};
        m_pBar->PreTranslateMessage(&msg);
    }
};

TEST_F(BarVolumeTest, EverySliderCodeWritesItsPositionButTheEndOfAMovement)
{
    UseCards(kSampleCard);
    StartBar();
    // Keys and clicks beside the thumb write where the trackbar is (40: 12 of 32 steps); the
    // thumb's own codes and unknown ones the position they carry.
    const struct {
        UINT nCode;
        int nMessagePos;
        unsigned nWrites;
        DWORD dwLevel;
    } cases[] = {
        {TB_LINEUP, 70, 1, 12},        {TB_LINEDOWN, 70, 1, 12},
        {TB_PAGEUP, 70, 1, 12},        {TB_PAGEDOWN, 70, 1, 12},
        {TB_TOP, 70, 1, 12},           {TB_BOTTOM, 70, 1, 12},
        {TB_THUMBPOSITION, 70, 1, 22}, {TB_THUMBTRACK, 70, 1, 22},
        {TB_ENDTRACK, 70, 0, 0},       {9, 70, 1, 22},
        {TB_THUMBTRACK, 100, 1, 32},   {TB_THUMBTRACK, 0, 1, 0},
    };
    for (const auto& c : cases) {
        sim::SetValues(0, kSpeakersVolume, {0x1234, 0x1234});
        Pump();
        SetSliderPos(40);
        const unsigned nBefore = Writes();
        Scroll(c.nCode, c.nMessagePos);
        // Only a write arms the echo guard.
        EXPECT_EQ(c.nWrites ? 0 : 1, m_pBar->m_bFollowChanges) << "code " << c.nCode;
        EXPECT_EQ(c.nWrites, Writes() - nBefore) << "code " << c.nCode;
        if (c.nWrites) {
            EXPECT_EQ((std::vector<DWORD>{c.dwLevel, c.dwLevel}), Levels(kSpeakersVolume))
                << "code " << c.nCode;
        }
        Pump();
    }
}

TEST_F(BarVolumeTest, StereoLineShowsTheLouderChannelAndAMoveKeepsTheBalance)
{
    UseCards(kSampleCard);
    sim::SetValues(0, kSpeakersVolume, {0x2000, 0x8000}); // 4 and 16 of 32 steps
    StartBar();
    EXPECT_EQ(50, SliderPos());

    // The louder channel takes the slider's 8 steps, the other keeps a quarter of it.
    Scroll(TB_THUMBTRACK, 25);
    EXPECT_EQ((std::vector<DWORD>{2, 8}), Levels(kSpeakersVolume));
}

TEST_F(BarVolumeTest, OwnWritesSkipOneNotificationAndNothingElseDoes)
{
    UseCards(kSampleCard);
    StartBar();

    // 33 is 10 of 32 steps, which reads back as 31: the echo must not move the thumb.
    SetSliderPos(33);
    Scroll(TB_THUMBPOSITION, 33);
    Pump();
    EXPECT_EQ(33, SliderPos());
    EXPECT_EQ(1, m_pBar->m_bFollowChanges);

    // Another program mutes just before the bar writes: its notice is no echo and shows the
    // mute, the write's own echo is still skipped.
    sim::SetValues(0, kSpeakersMute, {1});
    Scroll(TB_THUMBPOSITION, 33);
    Pump();
    EXPECT_EQ(33, SliderPos());
    EXPECT_EQ(0, m_pBar->m_btnMute.m_nRow);
    EXPECT_EQ(1, m_pBar->m_bFollowChanges);
    sim::SetValues(0, kSpeakersMute, {0});
    Pump();

    // Two writes before their notifications: the guard counts nothing, the second one applies
    // (66 is 21 of 32 steps, which reads back as 65).
    Scroll(TB_THUMBTRACK, 33);
    Scroll(TB_THUMBTRACK, 66);
    Pump();
    EXPECT_EQ(65, SliderPos());

    // A key's release ends the movement after the echo of its press has come back: the next
    // change, made elsewhere, moves the thumb.
    SetSliderPos(100);
    Scroll(TB_BOTTOM);
    Pump();
    Scroll(TB_ENDTRACK, 100);
    sim::SetValues(0, kSpeakersVolume, {0x4000, 0x4000}); // 8 of 32 steps: 25
    Pump();
    EXPECT_EQ(25, SliderPos());
}

TEST_F(BarVolumeTest, ChangesByOtherProgramsMoveTheSliderAndTheMutePicture)
{
    // The tray icon is struck through for the speakers master alone.
    const struct {
        const char* pszLine;
        int bInput;
        int nComponentType;
        int nMenuIndex;
        DWORD dwMute;
        std::vector<DWORD> muted;
        std::vector<DWORD> unmuted;
        size_t nPicture;
        WORD nMutedIcon;
    } cases[] = {
        {"speakers", 0, 4, 9, kSpeakersMute, {1}, {0}, kMasterLineBitmap, IDI_MUTED},
        {"wave", 0, 0x1008, 0, 7, {1}, {0}, 8, IDI_BAR},
        {"recording master", 1, 7, 9, 8, {1}, {0}, kMasterLineBitmap, IDI_BAR},
        {"microphone", 1, 0x1003, 0, 4, {0}, {1}, 3, IDI_BAR},
    };
    UseCards(kMutesEverywhereCard);
    for (const auto& c : cases) {
        Store("Input Volume", c.bInput);
        Store("Component Type", c.nComponentType);
        Store("Menu Index", c.nMenuIndex);
        CBarDlg& bar = StartBar();
        ASSERT_EQ(static_cast<DWORD>(c.nComponentType), bar.m_dwComponentType) << c.pszLine;
        EXPECT_EQ(&bar.m_bmpLine[c.nPicture], bar.m_btnMute.m_pBitmap) << c.pszLine;
        EXPECT_EQ(1, bar.m_btnMute.m_nRow) << c.pszLine;

        sim::SetValues(0, c.dwMute, c.muted);
        Pump();
        EXPECT_EQ(0, bar.m_btnMute.m_nRow) << c.pszLine;
        EXPECT_EQ(c.nMutedIcon, bar.m_pTrayIcon->GetIconID()) << c.pszLine;

        sim::SetValues(0, c.dwMute, c.unmuted);
        Pump();
        EXPECT_EQ(1, bar.m_btnMute.m_nRow) << c.pszLine;
        EXPECT_EQ(IDI_BAR, bar.m_pTrayIcon->GetIconID()) << c.pszLine;
    }

    // The volume of the selected line moves the slider (8 of 32 steps: 25); another line's
    // volume re-reads and leaves it where it is.
    Store("Input Volume", 0);
    Store("Menu Index", 9);
    StartBar();
    sim::SetValues(0, kSpeakersVolume, {0x4000, 0x4000});
    Pump();
    EXPECT_EQ(25, SliderPos());
    sim::SetValues(0, 5, {0xFFFF, 0xFFFF});
    Pump();
    EXPECT_EQ(25, SliderPos());
}

TEST_F(BarVolumeTest, MutePictureIsTheLinesKindOrNoneForAKindWithoutOne)
{
    UseCards(kSampleCard);
    CBarDlg& bar = StartBar();
    const struct {
        DWORD dwComponentType;
        int nPicture; // -1: none
    } cases[] = {
        {4, kMasterLineBitmap}, {7, kMasterLineBitmap}, {0x1000, 0}, {0x100A, 10},
        {0x100B, -1},           {0x0FFF, -1},           {0, -1},
    };
    for (const auto& c : cases) {
        bar.m_dwComponentType = c.dwComponentType;
        bar.SetMuteImage(1);
        EXPECT_EQ(c.nPicture < 0 ? nullptr : &bar.m_bmpLine[c.nPicture], bar.m_btnMute.m_pBitmap)
            << std::hex << c.dwComponentType;
        ::UpdateWindow(bar.m_btnMute.m_hWnd);
    }
}

TEST_F(BarVolumeTest, MuteButtonTogglesByMouseAndMnemonicAndShowsTheNewStateUnread)
{
    UseCards(kSampleCard);
    CBarDlg& bar = StartBar();
    ASSERT_TRUE(::IsWindowEnabled(bar.m_btnMute.m_hWnd));
    MSG mnemonic{bar.m_sliderVolume.m_hWnd, WM_SYSCHAR, 'm', 0x20000000, 0, {}};
    const struct {
        const char* pszHow;
        bool bMnemonic;
        DWORD dwMuted;
    } cases[] = {
        {"click", false, 1},
        {"Alt+M", true, 0},
        {"click again", false, 1},
    };
    for (const auto& c : cases) {
        const unsigned nBefore = Writes();
        if (c.bMnemonic)
            EXPECT_TRUE(bar.PreTranslateMessage(&mnemonic)) << c.pszHow;
        else
            ClickMute();
        EXPECT_EQ(1u, Writes() - nBefore) << c.pszHow;
        EXPECT_EQ(std::vector<DWORD>{c.dwMuted}, sim::GetValues(0, kSpeakersMute)) << c.pszHow;
        EXPECT_EQ(0, bar.m_bFollowChanges) << c.pszHow;
        EXPECT_EQ(c.dwMuted ? 0 : 1, bar.m_btnMute.m_nRow) << c.pszHow;
        EXPECT_EQ(c.dwMuted ? IDI_MUTED : IDI_BAR, bar.m_pTrayIcon->GetIconID()) << c.pszHow;
        Pump();
        EXPECT_EQ(1, bar.m_bFollowChanges) << c.pszHow;
    }
}

TEST_F(BarVolumeTest, ControlsAreEnabledExactlyWhenTheLineHasThem)
{
    // A compact disc line with a mute and no volume: the slider stays disabled and where it is,
    // the mute picture still follows.
    UseCards(std::string(kSpeakersOnlyCard) + "source 0x10000 0x1005 2 CD\n"
                                              "control 9 mute 1 1 0\n");
    Store("Component Type", 0x1005);
    Store("Menu Index", 0);
    CBarDlg& bar = StartBar();
    EXPECT_FALSE(::IsWindowEnabled(bar.m_sliderVolume.m_hWnd));
    EXPECT_TRUE(::IsWindowEnabled(bar.m_btnMute.m_hWnd));
    SetSliderPos(40);
    sim::SetValues(0, 9, {1});
    Pump();
    EXPECT_EQ(40, SliderPos());
    EXPECT_EQ(0, bar.m_btnMute.m_nRow);

    // The speakers master of that card has no mute.
    Store("Menu Index", 9);
    CBarDlg& master = StartBar();
    EXPECT_TRUE(::IsWindowEnabled(master.m_sliderVolume.m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(master.m_btnMute.m_hWnd));
}

// Refuses to create any dialog with an owner: the message box of a bar without sound cards.
HHOOK g_hRefuseHook = nullptr;
int g_nRefused = 0;

LRESULT CALLBACK RefuseOwnedDialogs(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        const CREATESTRUCTA* pcs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char szClass[16] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), szClass, sizeof szClass);
        if (pcs->hwndParent && std::string(szClass) == "#32770") {
            ++g_nRefused;
            return 1;
        }
    }
    return ::CallNextHookEx(g_hRefuseHook, nCode, wParam, lParam);
}

TEST_F(BarVolumeTest, WithoutAnySoundCardBothControlsStayDisabled)
{
    UseCards("");
    g_hRefuseHook = ::SetWindowsHookExA(WH_CBT, &RefuseOwnedDialogs, nullptr, ::GetCurrentThreadId());
    CBarDlg& bar = StartBar();
    ::UnhookWindowsHookEx(g_hRefuseHook);
    EXPECT_EQ(1, g_nRefused);
    EXPECT_FALSE(::IsWindowEnabled(bar.m_sliderVolume.m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(bar.m_btnMute.m_hWnd));
}

TEST_F(BarVolumeTest, NoStepsOrNoRangeWritesNothingAndLeavesTheSlider)
{
    const struct {
        const char* pszCase;
        const char* pszCards;
        bool bNoRange;
    } cases[] = {
        {"0 steps",
         "card Sim Audio\n"
         "dest 0x0 4 2 Speakers\n"
         "control 1 volume 0xFFFF 0 0 0x8000 0x8000\n",
         false},
        {"range 0", kSampleCard, true},
    };
    for (const auto& c : cases) {
        UseCards(c.pszCards);
        CBarDlg& bar = StartBar();
        if (c.bNoRange)
            ::SendMessageA(bar.m_sliderVolume.m_hWnd, TBM_SETRANGEMAX, TRUE, 0);
        const unsigned nBefore = Writes();
        Scroll(TB_THUMBTRACK, 70);
        Wheel(bar.m_hWnd, WHEEL_DELTA);
        EXPECT_EQ(nBefore, Writes()) << c.pszCase;
        // Nothing written, so no echo to skip.
        EXPECT_EQ(1, bar.m_bFollowChanges) << c.pszCase;

        // A change from elsewhere leaves the thumb where it is.
        const int nPos = SliderPos();
        sim::SetValues(0, kSpeakersVolume, {0x4000, 0x4000});
        Pump();
        EXPECT_EQ(nPos, SliderPos()) << c.pszCase;
    }
}

TEST_F(BarVolumeTest, WheelMovesOneLinePerNotchForwardLouderOverTheWholeBar)
{
    UseCards(kSampleCard);
    enum Target { Body, Slider, MuteButton };
    const struct {
        const char* pszCase;
        Target target;
        std::vector<int> deltas;
        int nStartPos;
        int nEndPos;
        unsigned nWrites;
    } cases[] = {
        {"forward over the slider", Slider, {WHEEL_DELTA}, 50, 51, 1},
        {"back over the body", Body, {-WHEEL_DELTA}, 50, 49, 1},
        {"two notches at once over the mute button", MuteButton, {2 * WHEEL_DELTA}, 50, 52, 1},
        {"half notches add up", Slider, {WHEEL_DELTA / 2, WHEEL_DELTA / 2}, 50, 51, 1},
        {"nothing beyond the top", Slider, {WHEEL_DELTA}, 100, 100, 0},
        {"a turn back forgets the half notch forward", Slider, {WHEEL_DELTA / 2, -WHEEL_DELTA}, 50, 49, 1},
    };
    CBarDlg& bar = StartBar();
    const HWND hTarget[] = {bar.m_hWnd, bar.m_sliderVolume.m_hWnd, bar.m_btnMute.m_hWnd};
    for (const auto& c : cases) {
        Pump();
        SetSliderPos(c.nStartPos);
        const unsigned nBefore = Writes();
        for (const int nDelta : c.deltas)
            Wheel(hTarget[c.target], nDelta);
        EXPECT_EQ(c.nEndPos, SliderPos()) << c.pszCase;
        EXPECT_EQ(c.nWrites, Writes() - nBefore) << c.pszCase;
        if (c.nWrites) {
            // Written as a key press is, echo guard included: 51 is 16 of 32 steps.
            EXPECT_EQ(32u * c.nEndPos / 100, Levels(kSpeakersVolume)[0]) << c.pszCase;
            EXPECT_EQ(0, bar.m_bFollowChanges) << c.pszCase;
        }
    }
}

} // namespace
