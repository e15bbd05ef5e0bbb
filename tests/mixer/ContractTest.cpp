// One table of checks that the simulated mixer, Wine's WINMM and the endpoint mixer must all
// pass, so that what the tests learn from the simulator holds for a real mixer. Where they must
// differ the backend says so (ContractBackend.h) and the row names the difference.
#include "mixer/ContractBackend.h"
#include "mixer/MixerDevice.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/VolumeScale.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {
struct ContractCheck {
    const char* pszName;
    void (*pfnCheck)(const ContractBackend& backend, const CNotifyWindow& window);
    const char* pszDifference;
};

class ContractTest : public ::testing::TestWithParam<ContractCheck> {
protected:
    static void SetUpTestSuite() { s_bReady = PrepareContractBackend(s_backend, s_strWhyNot); }

    void SetUp() override
    {
        if (!s_bReady)
            GTEST_SKIP() << s_strWhyNot;
    }

    static inline ContractBackend s_backend;
    static inline bool s_bReady = false;
    static inline std::string s_strWhyNot;
};

HMIXER OpenDevice0(const CNotifyWindow& window)
{
    HMIXER hMixer = nullptr;
    EXPECT_EQ(mixerOpen(&hMixer, 0, reinterpret_cast<DWORD_PTR>(window.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    return hMixer;
}

MIXERLINEA SpeakersOf(HMIXER hMixer)
{
    MIXERLINEA line{};
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    EXPECT_EQ(mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(hMixer), &line,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE),
              MMSYSERR_NOERROR);
    return line;
}

void CheckOpenAndClose(const ContractBackend&, const CNotifyWindow& window)
{
    const HMIXER hMixer = OpenDevice0(window);
    ASSERT_NE(hMixer, nullptr);
    UINT uMxId = 99;
    EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(hMixer), &uMxId, MIXER_OBJECTF_HMIXER),
              MMSYSERR_NOERROR);
    EXPECT_EQ(uMxId, 0u);
    EXPECT_EQ(mixerClose(hMixer), MMSYSERR_NOERROR);
}

void CheckBadDeviceId(const ContractBackend&, const CNotifyWindow& window)
{
    const UINT nCount = mixerGetNumDevs();
    HMIXER hMixer = nullptr;
    EXPECT_EQ(mixerOpen(&hMixer, nCount, reinterpret_cast<DWORD_PTR>(window.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_BADDEVICEID);
    MIXERCAPSA caps{};
    EXPECT_EQ(mixerGetDevCapsA(nCount, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
    std::string strName;
    EXPECT_EQ(CMixerDevice::GetDeviceName(0, strName), MMSYSERR_NOERROR);
    EXPECT_FALSE(strName.empty());
}

void CheckInvalidHandle(const ContractBackend& backend, const CNotifyWindow& window)
{
    UINT uMxId = 0;
    EXPECT_EQ(mixerGetID(nullptr, &uMxId, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
    const HMIXER hMixer = OpenDevice0(window);
    ASSERT_EQ(mixerClose(hMixer), MMSYSERR_NOERROR);
    const MMRESULT mmrExpected = backend.bClosedHandleInvalid ? MMSYSERR_INVALHANDLE : MMSYSERR_NOERROR;
    EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(hMixer), &uMxId, MIXER_OBJECTF_HMIXER), mmrExpected);
}

void CheckLineLookupsAgree(const ContractBackend&, const CNotifyWindow& window)
{
    const HMIXER hMixer = OpenDevice0(window);
    const MIXERLINEA byType = SpeakersOf(hMixer);
    MIXERLINEA byId{};
    byId.cbStruct = sizeof byId;
    byId.dwLineID = byType.dwLineID;
    ASSERT_EQ(mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(hMixer), &byId,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(byId.dwComponentType, byType.dwComponentType);
    EXPECT_EQ(byId.dwDestination, byType.dwDestination);
    EXPECT_EQ(byId.cChannels, byType.cChannels);
    EXPECT_EQ(byId.cControls, byType.cControls);
    EXPECT_STREQ(byId.szName, byType.szName);
    byId.dwLineID = byType.dwLineID ^ 0x5A5A;
    EXPECT_EQ(mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(hMixer), &byId,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MIXERR_INVALLINE);
    mixerClose(hMixer);
}

void CheckControlLookupsAgree(const ContractBackend&, const CNotifyWindow& window)
{
    const HMIXER hMixer = OpenDevice0(window);
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    const MIXERLINEA line = SpeakersOf(hMixer);
    ASSERT_GT(line.cControls, 0u);
    std::vector<MIXERCONTROLA> all(line.cControls);
    MIXERLINECONTROLSA mxlc{};
    mxlc.cbStruct = sizeof mxlc;
    mxlc.dwLineID = line.dwLineID;
    mxlc.cControls = line.cControls;
    mxlc.cbmxctrl = sizeof(MIXERCONTROLA);
    mxlc.pamxctrl = all.data();
    ASSERT_EQ(mixerGetLineControlsA(hObject, &mxlc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL),
              MMSYSERR_NOERROR);
    for (const MIXERCONTROLA& control : all) {
        MIXERCONTROLA one{};
        mxlc.dwControlType = control.dwControlType;
        mxlc.cControls = 1;
        mxlc.pamxctrl = &one;
        ASSERT_EQ(
            mixerGetLineControlsA(hObject, &mxlc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
            MMSYSERR_NOERROR);
        const auto itFirst = std::find_if(all.begin(), all.end(), [&](const MIXERCONTROLA& c) {
            return c.dwControlType == control.dwControlType;
        });
        EXPECT_EQ(one.dwControlID, itFirst->dwControlID);
        EXPECT_EQ(one.Bounds.dwMaximum, itFirst->Bounds.dwMaximum);
        EXPECT_EQ(one.Metrics.cSteps, itFirst->Metrics.cSteps);
    }
    mixerClose(hMixer);
}

void CheckVolumeRoundTrip(const ContractBackend&, const CNotifyWindow& window)
{
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
    ASSERT_TRUE(mixer.m_bHasVolume);
    for (const UINT nPosition : {0u, 30u, 50u, 100u}) {
        const DWORD dwWritten = PositionToSteps(nPosition, mixer.m_nChannels, mixer.GetSteps(), 100);
        EXPECT_EQ(mixer.SetVolume(dwWritten), MMSYSERR_NOERROR);
        DWORD dwRead = 0;
        mixer.GetVolume(&dwRead);
        // The first channel is the one every mixer reports.
        EXPECT_LE(std::abs(int(LOWORD(dwRead)) - int(LOWORD(dwWritten))), 1) << nPosition;
    }
}

void CheckMuteRoundTrip(const ContractBackend&, const CNotifyWindow& window)
{
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
    ASSERT_TRUE(mixer.m_bHasMute);
    for (const BOOL bMute : {TRUE, FALSE}) {
        mixer.SetMute(bMute);
        BOOL bRead = !bMute;
        mixer.GetMute(&bRead);
        EXPECT_EQ(bRead, bMute);
    }
}

void CheckNotifications(const ContractBackend& backend, const CNotifyWindow& window)
{
    CMixerDevice mixer(window.Get());
    ASSERT_TRUE(mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, FALSE));
    window.TakeNotifications();
    mixer.SetVolume(PositionToSteps(40, mixer.m_nChannels, mixer.GetSteps(), 100));
    // A mixer that notifies may post from another thread: its message is waited for. One that
    // posts on this thread has queued it before the write returned.
    if (backend.bNotifies)
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_POSTMESSAGE);
    const auto messages = window.TakeNotifications();
    EXPECT_EQ(!messages.empty(), backend.bNotifies);
    for (const MSG& msg : messages) {
        EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(mixer.m_hMixer.Get()));
        EXPECT_EQ(msg.lParam, static_cast<LPARAM>(mixer.m_ctlVolume.dwControlID));
    }
}

void CheckRecordingSelection(const ContractBackend& backend, const CNotifyWindow& window)
{
    bool bFound = false;
    for (UINT nDevice = 0; nDevice < mixerGetNumDevs(); ++nDevice) {
        CMixerDevice mixer(window.Get());
        mixer.Open(nDevice);
        if (!mixer.SelectLine(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, FALSE))
            continue;
        for (const DWORD dwType : {MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLTYPE_MUX}) {
            MIXERCONTROLA control{};
            MIXERLINECONTROLSA mxlc{};
            mxlc.cbStruct = sizeof mxlc;
            mxlc.dwLineID = mixer.m_line.dwLineID;
            mxlc.dwControlType = dwType;
            mxlc.cControls = 1;
            mxlc.cbmxctrl = sizeof control;
            mxlc.pamxctrl = &control;
            bFound |= mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer.m_hMixer.Get()), &mxlc,
                                            MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                      MMSYSERR_NOERROR;
        }
    }
    EXPECT_EQ(bFound, backend.bHasRecordingSelection);
}

const ContractCheck kChecks[] = {
    {"OpenAndClose", &CheckOpenAndClose, ""},
    {"BadDeviceId", &CheckBadDeviceId, ""},
    {"InvalidHandle", &CheckInvalidHandle, "Wine keeps a closed handle usable"},
    {"LineLookupsAgree", &CheckLineLookupsAgree, ""},
    {"ControlLookupsAgree", &CheckControlLookupsAgree, ""},
    {"VolumeRoundTrip", &CheckVolumeRoundTrip,
     "Wine's and the endpoint mixer's volume is uniform: one value"},
    {"MuteRoundTrip", &CheckMuteRoundTrip, ""},
    {"Notifications", &CheckNotifications, "Wine sends no change notifications"},
    {"RecordingSelection", &CheckRecordingSelection,
     "Wine and the endpoint mixer have no MIXER or MUX controls"},
};

TEST_P(ContractTest, Holds)
{
    const ContractCheck& check = GetParam();
    RecordProperty("difference", check.pszDifference);
    SCOPED_TRACE(std::string(s_backend.pszName) + ": " + check.pszName);
    const CNotifyWindow window;
    check.pfnCheck(s_backend, window);
}

INSTANTIATE_TEST_SUITE_P(Mixer, ContractTest, ::testing::ValuesIn(kChecks),
                         [](const auto& info) { return std::string(info.param.pszName); });
} // namespace
