#include "mixer/MixerDevice.h"
#include "mixer/VolumeScale.h"

#include "mixer/BalanceCases.h"
#include "mixer/MixerTestSupport.h"
#include "sim/SimMixer.h"

#include <set>

namespace {
using Fn = sim::Function;

constexpr DWORD kSpeakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
constexpr DWORD kWaveIn = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
constexpr DWORD kMicrophone = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
constexpr DWORD kLineIn = MIXERLINE_COMPONENTTYPE_SRC_LINE;
constexpr DWORD kCompactDisc = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
constexpr DWORD kWaveOut = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
constexpr DWORD kSynthesizer = MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER;

// Ids: speakers volume 1, mute 2; wave-in volume 3, MIXER 4; sources 10 and up.
const char kStudioCard[] = R"(
card Studio
dest 0x0 4 2 Speakers
control 1 volume 0xFFFF 32 0 0x8000 0x8000
control 2 mute 1 1 0
source 0x10000 0x1008 2 Wave
control 10 volume 0xFFFF 32 0 0xFFFF 0xFFFF
control 11 mute 1 1 0
source 0x20000 0x1003 1 Mic Playback
control 12 volume 0xFFFF 32 0 0x4000
dest 0x1 7 2 Recording Control
control 3 volume 0xFFFF 32 0 0 0
control 4 mixer 1 3 3 1 0 1
source 0x10001 0x1003 1 Microphone
control 20 volume 0xFFFF 32 0 0x2000
source 0x20001 0x1002 2 Line In
control 21 volume 0xFFFF 32 0 0 0
source 0x30001 0x1005 2 CD
)";

class MixerDeviceTest : public SimMixerTest {
protected:
    void SetUp() override
    {
        SimMixerTest::SetUp();
        LoadCards(kStudioCard);
    }

    CNotifyWindow m_window;
};

TEST_F(MixerDeviceTest, SelectLineFindsTheLineThatTheWritesThenReach)
{
    struct Case {
        const char* pszWhat;
        DWORD dwType;
        BOOL bInput;
        BOOL bFound, bHasVolume, bHasMute;
        UINT nChannels;
        // The control that a volume write reaches, and the one that a mute changes to muted.
        DWORD dwVolumeID;
        DWORD dwMuteID;
        std::vector<DWORD> muted;
    };
    const Case cases[] = {
        {"output master", kSpeakers, FALSE, TRUE, TRUE, TRUE, 2, 1, 2, {1}},
        {"recording master through the output steps", kWaveIn, FALSE, TRUE, TRUE, FALSE, 2, 3, 0, {}},
        {"a destination is no source", kWaveIn, TRUE, FALSE, FALSE, FALSE, 0, 0, 0, {}},
        {"playback source, first of its type", kMicrophone, FALSE, TRUE, TRUE, FALSE, 1, 12, 0, {}},
        {"recording source: its item of the MIXER control",
         kMicrophone,
         TRUE,
         TRUE,
         TRUE,
         TRUE,
         1,
         20,
         4,
         {0, 0, 1}},
        {"recording source without volume", kCompactDisc, TRUE, TRUE, FALSE, TRUE, 2, 0, 4, {1, 0, 0}},
        {"a type the recording side lacks", kWaveOut, TRUE, FALSE, FALSE, FALSE, 0, 0, 0, {}},
        {"a type the card lacks", kSynthesizer, FALSE, FALSE, FALSE, FALSE, 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        sim::Reset();
        LoadCards(kStudioCard);
        CMixerDevice mixer(m_window.Get());
        EXPECT_EQ(mixer.SelectLine(c.dwType, c.bInput), c.bFound);
        EXPECT_EQ(mixer.m_dwComponentType, c.dwType);
        EXPECT_EQ(mixer.m_bHasVolume, c.bHasVolume);
        EXPECT_EQ(mixer.m_bHasMute, c.bHasMute);
        if (!c.bFound)
            continue;
        EXPECT_EQ(mixer.m_nChannels, c.nChannels);
        if (c.bHasVolume) {
            mixer.SetVolume(MAKELONG(8, 8));
            EXPECT_EQ(sim::GetValues(0, c.dwVolumeID),
                      std::vector<DWORD>(c.nChannels, LevelToValue(8, 32, 0xFFFF)));
        }
        if (c.bHasMute) {
            mixer.SetMute(TRUE);
            EXPECT_EQ(sim::GetValues(0, c.dwMuteID), c.muted);
            BOOL bMuted = FALSE;
            mixer.GetMute(&bMuted);
            EXPECT_TRUE(bMuted);
        }
    }
}

TEST_F(MixerDeviceTest, MasterAfterARecordingSourceMutesThroughItsOwnControl)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
    EXPECT_FALSE(mixer.m_bMultiSelect);
    mixer.SetMute(TRUE);
    EXPECT_EQ(sim::GetValues(0, 2), std::vector<DWORD>{1});
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{1, 0, 1}));
}

TEST_F(MixerDeviceTest, VolumeReadsRoundHalfUpAndWritesTruncate)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
    DWORD dwSteps = 0;

    // 0x8000 is 16.0002 steps: the slider shows 50, and 50 writes 16 steps, 0x7FFF.
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(dwSteps, MAKELONG(16, 16));
    EXPECT_EQ(StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100), 50u);
    EXPECT_EQ(mixer.SetVolume(PositionToSteps(50, mixer.m_nChannels, mixer.GetSteps(), 100)),
              MMSYSERR_NOERROR);
    EXPECT_EQ(sim::GetValues(0, 1), (std::vector<DWORD>{0x7FFF, 0x7FFF}));

    // 20/10 shows 62, which writes back 19 steps to the louder channel; the other keeps half.
    ASSERT_EQ(sim::SetValues(0, 1, {LevelToValue(20, 32, 0xFFFF), LevelToValue(10, 32, 0xFFFF)}),
              MMSYSERR_NOERROR);
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(dwSteps, MAKELONG(20, 10));
    const UINT nPosition = StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100);
    EXPECT_EQ(nPosition, 62u);
    mixer.SetVolume(PositionToSteps(nPosition, mixer.m_nChannels, mixer.GetSteps(), 100));
    EXPECT_EQ(sim::GetValues(0, 1), (std::vector<DWORD>{38911, 19455}));

    // Halves above the step count are full volume.
    mixer.SetVolume(MAKELONG(40, 0xFFFF));
    EXPECT_EQ(sim::GetValues(0, 1), (std::vector<DWORD>{0xFFFF, 0x7FFF}));
}

TEST_F(MixerDeviceTest, OneChannelLineReadsWithAnEmptyHighHalf)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    ASSERT_EQ(sim::SetValues(0, 20, {0xFFFF}), MMSYSERR_NOERROR);
    DWORD dwSteps = 0;
    mixer.GetVolume(&dwSteps);
    EXPECT_EQ(dwSteps, 32u);
    EXPECT_EQ(StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100), 100u);
    mixer.SetVolume(PositionToSteps(50, mixer.m_nChannels, mixer.GetSteps(), 100));
    EXPECT_EQ(sim::GetValues(0, 20), std::vector<DWORD>{0x7FFF});
}

TEST_F(MixerDeviceTest, OutputMuteRoundTrips)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
    for (const BOOL bMute : {TRUE, FALSE, TRUE}) {
        mixer.SetMute(bMute);
        BOOL bRead = !bMute;
        mixer.GetMute(&bRead);
        EXPECT_EQ(bRead, bMute);
        EXPECT_EQ(sim::GetValues(0, 2), std::vector<DWORD>{static_cast<DWORD>(bMute)});
    }
}

TEST_F(MixerDeviceTest, MixerSelectionChangesOnlyTheSourcesItem)
{
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    BOOL bMute = TRUE;
    mixer.GetMute(&bMute);
    EXPECT_FALSE(bMute);

    mixer.SetMute(TRUE);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{0, 0, 1}));
    mixer.GetMute(&bMute);
    EXPECT_TRUE(bMute);

    // Another program selects the line in; unmuting the microphone keeps both.
    ASSERT_EQ(sim::SetValues(0, 4, {0, 1, 1}), MMSYSERR_NOERROR);
    mixer.SetMute(FALSE);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{1, 1, 1}));
}

TEST_F(MixerDeviceTest, MuxSelectionUnmutesBySelectingTheSourceAlone)
{
    sim::Reset();
    LoadCards(R"(
card Mux Card
dest 0x0 4 2 Speakers
dest 0x1 7 2 Recording
control 4 mux 1 3 3 0 1 0
source 0x10001 0x1003 1 Microphone
source 0x20001 0x1002 2 Line In
source 0x30001 0x1005 2 CD
)");
    CMixerDevice mixer(m_window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    EXPECT_TRUE(mixer.m_bSingleSelect);
    EXPECT_FALSE(mixer.m_bMultiSelect);
    BOOL bMute = FALSE;
    mixer.GetMute(&bMute);
    EXPECT_TRUE(bMute);

    mixer.SetMute(FALSE);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{1, 0, 0}));
    mixer.GetMute(&bMute);
    EXPECT_FALSE(bMute);

    // Muting offers every other source; the card picks one of them.
    mixer.SetMute(TRUE);
    EXPECT_EQ(sim::GetValues(0, 4), (std::vector<DWORD>{0, 1, 0}));
    mixer.GetMute(&bMute);
    EXPECT_TRUE(bMute);
}

TEST_F(MixerDeviceTest, NoMixerDeviceLeavesNoHandleAndNothingToClose)
{
    sim::Reset();
    {
        CMixerDevice mixer(m_window.Get());
        EXPECT_FALSE(mixer.m_hMixer);
        EXPECT_FALSE(mixer.SelectLine(kSpeakers, FALSE));
        EXPECT_FALSE(mixer.m_bHasVolume);
        EXPECT_FALSE(mixer.m_bHasMute);
        EXPECT_EQ(mixer.m_dwComponentType, kSpeakers);
    }
    EXPECT_EQ(sim::CallCount(Fn::Close), 0u);
    EXPECT_EQ(sim::CallCount(Fn::GetLineInfo), 0u);
}

TEST_F(MixerDeviceTest, OpenClosesTheOldHandleFirst)
{
    LoadCards("card Second\ndest 0x0 4 2 Speakers\n");
    CMixerDevice mixer(m_window.Get());
    const HMIXER hFirst = mixer.m_hMixer.Get();
    ASSERT_NE(hFirst, nullptr);

    EXPECT_TRUE(mixer.Open(0));
    EXPECT_NE(mixer.m_hMixer.Get(), hFirst);
    EXPECT_EQ(sim::OpenHandleCount(), 1u);

    // An index equal to the count names no device and leaves no handle, not the old one.
    EXPECT_FALSE(mixer.Open(mixerGetNumDevs()));
    EXPECT_FALSE(mixer.m_hMixer);
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
    EXPECT_FALSE(mixer.SelectLine(kSpeakers, FALSE));
}

TEST_F(MixerDeviceTest, DeviceNamesNeedNoHandle)
{
    LoadCards("card Second Card\n");
    std::string strName = "old";
    EXPECT_EQ(CMixerDevice::GetDeviceName(0, strName), MMSYSERR_NOERROR);
    EXPECT_EQ(strName, "Studio");
    EXPECT_EQ(CMixerDevice::GetDeviceName(1, strName), MMSYSERR_NOERROR);
    EXPECT_EQ(strName, "Second Card");
    EXPECT_EQ(CMixerDevice::GetDeviceName(2, strName), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(strName, "");
    EXPECT_EQ(sim::OpenHandleCount(), 0u);
}

TEST_F(MixerDeviceTest, EveryOpenHandleIsNotifiedOfEveryWrite)
{
    CMixerDevice bar(m_window.Get());
    CMixerDevice probe(m_window.Get());
    ASSERT_TRUE(bar.SelectLine(kSpeakers, FALSE));
    m_window.TakeNotifications();

    auto expectBoth = [&](DWORD dwControlID) {
        const auto messages = m_window.TakeNotifications();
        ASSERT_EQ(messages.size(), 2u);
        std::set<HMIXER> handles;
        for (const MSG& msg : messages) {
            EXPECT_EQ(msg.lParam, static_cast<LPARAM>(dwControlID));
            handles.insert(reinterpret_cast<HMIXER>(msg.wParam));
        }
        EXPECT_EQ(handles, (std::set<HMIXER>{bar.m_hMixer.Get(), probe.m_hMixer.Get()}));
    };
    bar.SetVolume(MAKELONG(3, 3));
    expectBoth(1);
    bar.SetMute(TRUE);
    expectBoth(2);
    ASSERT_EQ(sim::SetValues(0, 12, {0}), MMSYSERR_NOERROR);
    expectBoth(12);
}
} // namespace

namespace {
// One card whose speakers carry a volume control of the given shape.
void LoadVolumeCard(DWORD cChannels, DWORD cSteps, DWORD dwMaximum, std::vector<DWORD> values)
{
    sim::Card card{L"Shapes", {}};
    sim::Line speakers{0x0, kSpeakers, cChannels, L"Speakers", {}};
    sim::Control volume = sim::Volume(1, std::move(values), cSteps, dwMaximum);
    speakers.controls.push_back(volume);
    card.destinations.push_back({speakers, {}});
    std::string strError;
    ASSERT_TRUE(sim::AddCard(card, &strError)) << strError;
}

struct ShapeCase {
    const char* pszWhat;
    DWORD cChannels;
    DWORD cSteps;
    DWORD dwMaximum;
    std::vector<DWORD> values;
    DWORD dwSteps;
};

TEST_F(SimMixerTest, GetVolumeHandlesEveryControlShape)
{
    const ShapeCase cases[] = {
        {"exactly 7.5 steps goes up", 2, 32, 64, {15, 14}, MAKELONG(8, 7)},
        {"one channel", 1, 32, 0xFFFF, {0xFFFF}, 32},
        {"eight channels read as their loudest left and right",
         8,
         32,
         0xFFFF,
         {0x4000, 0x2000, 0x8000, 0x4000, 0, 0, 0, 0},
         MAKELONG(16, 8)},
        {"0 steps", 2, 0, 0xFFFF, {0x8000, 0x8000}, 0},
        {"maximum 0", 2, 32, 0, {0, 0}, 0},
        {"maximum above 0xFFFF", 2, 32, 0x20000, {0x20000, 0x10000}, MAKELONG(32, 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        sim::Reset();
        LoadVolumeCard(c.cChannels, c.cSteps, c.dwMaximum, c.values);
        CNotifyWindow window;
        CMixerDevice mixer(window.Get());
        ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
        DWORD dwSteps = 0xDEADBEEF;
        mixer.GetVolume(&dwSteps);
        EXPECT_EQ(dwSteps, c.dwSteps);
    }
}

TEST_F(SimMixerTest, SetVolumeHandlesEveryControlShape)
{
    const ShapeCase cases[] = {
        {"one channel takes the low half", 1, 32, 0xFFFF, {0x7FFF}, MAKELONG(16, 32)},
        {"two take the louder half", 2, 32, 0xFFFF, {0x7FFF, 0x7FFF}, MAKELONG(8, 16)},
        {"0 steps", 2, 0, 0xFFFF, {0, 0}, MAKELONG(16, 16)},
        {"maximum 0", 2, 32, 0, {0, 0}, MAKELONG(16, 16)},
        {"maximum above 0xFFFF", 2, 32, 0x20000, {0x10000, 0x10000}, MAKELONG(16, 16)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        sim::Reset();
        LoadVolumeCard(c.cChannels, c.cSteps, c.dwMaximum, {});
        CNotifyWindow window;
        CMixerDevice mixer(window.Get());
        ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
        EXPECT_EQ(mixer.SetVolume(c.dwSteps), MMSYSERR_NOERROR);
        EXPECT_EQ(sim::GetValues(0, 1), c.values);
    }
}

TEST_F(SimMixerTest, ASliderWriteKeepsTheBalanceOfEveryChannelCount)
{
    for (const SBalanceCase& c : BalanceCases()) {
        SCOPED_TRACE(c.pszWhat);
        sim::Reset();
        LoadVolumeCard(static_cast<DWORD>(c.before.size()), 100, 0xFFFF, c.before);
        CNotifyWindow window;
        CMixerDevice mixer(window.Get());
        ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
        EXPECT_EQ(mixer.SetVolume(PositionToSteps(c.nPosition, mixer.m_nChannels, mixer.GetSteps(), 100)),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(sim::GetValues(0, 1), c.after);
        // The slider shows the level it set, whichever channel is the loudest.
        DWORD dwSteps = 0;
        mixer.GetVolume(&dwSteps);
        EXPECT_EQ(StepsToPosition(dwSteps, mixer.m_nChannels, mixer.GetSteps(), 100), c.nPosition);
    }
}

TEST_F(SimMixerTest, GetVolumeAfterAFailedReadStaysWithinTheSteps)
{
    LoadVolumeCard(2, 32, 0xFFFF, {0xFFFF, 0xFFFF});
    CNotifyWindow window;
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(kSpeakers, FALSE));
    // The card goes away under the open handle, so every read fails.
    sim::Reset();
    DWORD dwSteps = 0xDEADBEEF;
    mixer.GetVolume(&dwSteps);
    EXPECT_LE(LOWORD(dwSteps), mixer.GetSteps());
    EXPECT_LE(HIWORD(dwSteps), mixer.GetSteps());
}

// A recording side larger than small tables hold: 7 sources, a MIXER control with 12 items,
// and 9 controls on the wave-in destination, two of them MIXER controls.
const char kLargeRecordingCard[] = R"(
card Large
dest 0x0 4 2 Speakers
dest 0x1 7 2 Recording
control 30 volume 0xFFFF 32 0
control 31 mute 1 1 0
control 32 mixer 1 12 12
control 33 0x20010000 1 1 0
control 34 0x20010000 1 1 0
control 35 0x20010000 1 1 0
control 36 0x20010000 1 1 0
control 37 0x50030002 0xFFFF 32 0
control 38 mixer 1 12 12 1 1 1 1 1 1 1 1 1 1 1 1
source 0x10001 0x1002 2 Line 1
source 0x20001 0x1002 2 Line 2
source 0x30001 0x1002 2 Line 3
source 0x40001 0x1002 2 Line 4
source 0x50001 0x1002 2 Line 5
source 0x60001 0x1002 2 Line 6
source 0x70001 0x1003 1 Microphone
control 40 volume 0xFFFF 32 0 0xFFFF
)";

TEST_F(SimMixerTest, LargeRecordingSidesSelectTheRightItem)
{
    LoadCards(kLargeRecordingCard);
    CNotifyWindow window;
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    EXPECT_EQ(mixer.m_nSourceIndex, 6u);
    EXPECT_EQ(mixer.m_ctlMute.dwControlID, 38u);

    mixer.SetMute(TRUE);
    std::vector<DWORD> expected(12, 1);
    expected[6] = 0;
    EXPECT_EQ(sim::GetValues(0, 38), expected);
    BOOL bMute = FALSE;
    mixer.GetMute(&bMute);
    EXPECT_TRUE(bMute);
    mixer.SetMute(FALSE);
    EXPECT_EQ(sim::GetValues(0, 38), std::vector<DWORD>(12, 1));
    EXPECT_EQ(sim::GetValues(0, 32), std::vector<DWORD>(12, 0));
}

TEST_F(SimMixerTest, SourceWithoutAnItemIsNeverMuted)
{
    LoadCards(R"(
card Short Mixer
dest 0x0 7 2 Recording
control 4 mixer 1 2 2 1 1
source 0x10001 0x1002 2 Line
source 0x20001 0x1005 2 CD
source 0x30001 0x1003 1 Microphone
)");
    CNotifyWindow window;
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(kMicrophone, TRUE));
    EXPECT_EQ(mixer.m_nSourceIndex, 2u);
    BOOL bMute = TRUE;
    mixer.GetMute(&bMute);
    EXPECT_FALSE(bMute);
    sim::ResetCallCounts();
    mixer.SetMute(TRUE);
    EXPECT_EQ(sim::CallCount(sim::Function::SetControlDetails), 0u);
}
} // namespace
