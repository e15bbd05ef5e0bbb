// The bar's mixer classes, unchanged, on the endpoint mixer: this program's mixer functions are
// the product's own, over fake Core Audio with a laptop's endpoints (speakers and microphone on
// one adapter, an HDMI output on another, and a webcam's microphone) and two programs playing on
// the speakers, which are no lines of the menu's numbers nor of a component type.
#include "mixer/BalanceCases.h"
#include "mixer/LineCatalogue.h"
#include "mixer/LineSelection.h"
#include "mixer/MixerDevice.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/ProgramLines.h"
#include "mixer/VolumeScale.h"
#include "mixer/endpoint/EndpointFixture.h"

#include <algorithm>
#include <cmath>

namespace {

class MixerDeviceOnEndpointsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Speakers().SetLevelElsewhere(0.5f);
        Speakers().SetMuteElsewhere(FALSE);
        ProcessLaptop().Fake().SetChannelCount(L"hdmi", 2);
        ASSERT_EQ(ProcessMixerChoice().kind, MixerKind::Endpoint) << ProcessMixerChoice().strReason;
    }

    static CFakeEndpointVolume& Speakers() { return ProcessLaptop().Volume(L"spk"); }
    static CFakeEndpointVolume& Microphone() { return ProcessLaptop().Volume(L"mic"); }

    const CNotifyWindow m_window;
};

TEST_F(MixerDeviceOnEndpointsTest, TheMastersAreFoundAndTheSourcesAreNot)
{
    CMixerDevice mixer(m_window.Get());
    const struct {
        UINT nCard;
        DWORD dwComponentType;
        BOOL bInput;
        BOOL bFound;
        UINT nChannels;
    } cases[] = {
        {0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE, TRUE, 2},
        {0, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, FALSE, TRUE, 1},
        {0, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, TRUE, FALSE, 0},
        {0, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, TRUE, FALSE, 0},
        {0, MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, FALSE, FALSE, 0},
        {1, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE, TRUE, 2},
        {1, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, FALSE, FALSE, 0},
        // The webcam's card has a recording side only: its output side has no line.
        {2, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE, FALSE, 0},
        {2, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, FALSE, TRUE, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "card " << c.nCard << " type " << c.dwComponentType);
        ASSERT_TRUE(mixer.Open(c.nCard));
        EXPECT_EQ(mixer.SelectLine(c.dwComponentType, c.bInput), c.bFound);
        EXPECT_EQ(mixer.m_bHasVolume, c.bFound);
        EXPECT_EQ(mixer.m_bHasMute, c.bFound);
        if (c.bFound) {
            EXPECT_EQ(mixer.m_nChannels, c.nChannels);
        }
    }
    std::string strName;
    EXPECT_EQ(CMixerDevice::GetDeviceName(1, strName), MMSYSERR_NOERROR);
    EXPECT_EQ(strName, "LG TV (Intel Display Audio)");
    EXPECT_EQ(CMixerDevice::GetDeviceName(2, strName), MMSYSERR_NOERROR);
    EXPECT_EQ(strName, "Microphone (USB Camera)");
}

TEST_F(MixerDeviceOnEndpointsTest, TheMenuListsOnlyTheMasterAndAStoredSourceFallsBack)
{
    const CLineCatalogue catalogue;
    EXPECT_EQ(catalogue.GetSpeakerSourceCount(), 0u);
    EXPECT_EQ(catalogue.GetComponentType(0), 0u);

    CMixerDevice mixer(m_window.Get());
    EXPECT_FALSE(SelectMenuLine(mixer, 3, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, TRUE));
    EXPECT_TRUE(SelectMenuLine(mixer, kMasterMenuIndex, MasterComponentType(TRUE), TRUE));
    EXPECT_EQ(mixer.m_dwComponentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    ASSERT_TRUE(mixer.m_bHasVolume);
    mixer.SetMute(TRUE);
    EXPECT_TRUE(Microphone().Muted());
    EXPECT_FALSE(Speakers().Muted());
    mixer.SetMute(FALSE);
}

TEST_F(MixerDeviceOnEndpointsTest, TheSliderConversionsWorkOnTheEndpointsSteps)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
    EXPECT_EQ(mixer.GetSteps(), 50u);

    // 0.5 is 0x8000 on every channel: 25 of 50 steps in both halves, the slider's middle.
    DWORD dwSteps = 0;
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(dwSteps, MAKELONG(25, 25));
    EXPECT_EQ(StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100), 50u);

    EXPECT_EQ(mixer.SetVolume(PositionToSteps(80, mixer.m_nChannels, mixer.GetSteps(), 100)),
              MMSYSERR_NOERROR);
    EXPECT_NEAR(Speakers().Level(), 0.8f, 0.0001f);
    mixer.SetMute(TRUE);
    BOOL bMuted = FALSE;
    mixer.GetMute(&bMuted);
    EXPECT_TRUE(bMuted);
    EXPECT_TRUE(Speakers().Muted());
}

TEST_F(MixerDeviceOnEndpointsTest, ASliderWriteKeepsTheBalanceOfEveryChannelCount)
{
    // Each row gives the TV another speaker configuration (mono to 7.1), which a mixer opened
    // after it knows; a line written with one level writes the master, one of different levels
    // each channel.
    CFakeEndpointVolume& tv = ProcessLaptop().Volume(L"hdmi");
    for (const SBalanceCase& c : BalanceCases()) {
        SCOPED_TRACE(c.pszWhat);
        const auto cChannels = static_cast<UINT>(c.before.size());
        ProcessLaptop().Fake().SetChannelCount(L"hdmi", cChannels);
        for (UINT nChannel = 0; nChannel < cChannels; ++nChannel)
            tv.SetChannelVolumeLevelScalar(nChannel, static_cast<float>(c.before[nChannel]) / 0xFFFF,
                                           nullptr);
        ProcessLaptop().WaitUntilDelivered();
        RunHandedOver();

        CMixerDevice mixer(m_window.Get());
        ASSERT_TRUE(mixer.Open(1));
        ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
        ASSERT_EQ(mixer.m_nChannels, cChannels);
        const size_t cWritesBefore = tv.WriteCount();
        EXPECT_EQ(mixer.SetVolume(PositionToSteps(c.nPosition, mixer.m_nChannels, mixer.GetSteps(), 100)),
                  MMSYSERR_NOERROR);
        std::vector<DWORD> after;
        for (UINT nChannel = 0; nChannel < cChannels; ++nChannel)
            after.push_back(static_cast<DWORD>(std::lround(tv.ChannelLevel(nChannel) * 0xFFFF)));
        EXPECT_EQ(after, c.after);
        const bool bOneLevel =
            std::all_of(c.after.begin(), c.after.end(), [&](DWORD v) { return v == c.after[0]; });
        EXPECT_EQ(tv.WriteCount() - cWritesBefore, bOneLevel ? 1u : cChannels);
        DWORD dwSteps = 0;
        mixer.GetVolume(&dwSteps);
        EXPECT_EQ(StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100), c.nPosition);
    }
}

TEST_F(MixerDeviceOnEndpointsTest, AChangeOnAComThreadReachesTheBarWindowOnce)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
    m_window.TakeNotifications();
    OnOtherThread([] { Speakers().SetLevelElsewhere(0.25f); });
    const auto messages = m_window.TakeNotifications();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, reinterpret_cast<WPARAM>(mixer.m_hMixer.Get()));
    EXPECT_EQ(messages[0].lParam, static_cast<LPARAM>(mixer.m_ctlVolume.dwControlID));
    DWORD dwSteps = 0;
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(LOWORD(dwSteps), 13u);
}

TEST_F(MixerDeviceOnEndpointsTest, AProgramIsChosenByItsIdentityAndDrivenLikeALineUntilItEnds)
{
    CMixerDevice mixer(m_window.Get());
    CFakeSessionManager& sessions = ProcessLaptop().Sessions(L"spk");
    const auto programs = [&] {
        return ReadProgramLines(reinterpret_cast<HMIXEROBJ>(mixer.m_hMixer.Get()), MIXER_OBJECTF_HMIXER);
    };
    const std::vector<SProgramLine> before = programs();
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[1].strName, L"Browser");
    EXPECT_NE(before[0].dwIdentity, before[1].dwIdentity);
    const DWORD dwBrowser = before[1].dwIdentity;

    ASSERT_TRUE(mixer.SelectProgramLine(dwBrowser));
    EXPECT_EQ(mixer.m_dwComponentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT));
    EXPECT_TRUE(mixer.m_bHasVolume);
    EXPECT_TRUE(mixer.m_bHasMute);
    EXPECT_EQ(mixer.m_nChannels, 1u);
    EXPECT_EQ(mixer.SetVolume(PositionToSteps(40, mixer.m_nChannels, mixer.GetSteps(), 100)),
              MMSYSERR_NOERROR);
    EXPECT_NEAR(sessions.Session(L"web/1").Level(), 0.4f, 0.0001f);
    EXPECT_EQ(sessions.Session(L"player/1").Level(), 1.0f);
    mixer.SetMute(TRUE);
    EXPECT_TRUE(sessions.Session(L"web/1").Muted());

    OnOtherThread([&] { sessions.Session(L"web/1").Expire(); });
    RunHandedOver();
    EXPECT_TRUE(programs()[1].bGone);
    EXPECT_FALSE(mixer.SelectProgramLine(dwBrowser));
    EXPECT_FALSE(mixer.m_bHasVolume);
    EXPECT_FALSE(mixer.m_bHasMute);

    // Played again, it has its identity and line back, at the level it plays at now.
    SFakeSessionSetup again{L"web", L"web/2", L"Browser"};
    again.fLevel = 0.3f;
    OnOtherThread([&] { sessions.Play(again); });
    RunHandedOver();
    ASSERT_TRUE(mixer.SelectProgramLine(dwBrowser));
    EXPECT_EQ(mixer.m_line.dwLineID, before[1].dwLineID);
    DWORD dwSteps = 0;
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(dwSteps, 30u);
    EXPECT_FALSE(mixer.SelectProgramLine(dwBrowser ^ 0x5A5A));
}

} // namespace
