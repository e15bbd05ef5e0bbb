// One table of checks that the front end (on the scripted cards and on the endpoints) and Wine's
// WINMM must all pass, so that what the tests learn from the scripted cards holds for a real
// mixer; the one place where the answers of the mixer functions are checked. Where they must
// differ the backend says so (ContractBackend.h) and the row names the difference.
#include "fw/ScopedHandles.h"
#include "mixer/ContractBackend.h"
#include "mixer/MixerDevice.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/VolumeScale.h"
#include "mixer/frontend/ApplicationLine.h"

#include <algorithm>
#include <cstring>
#include <cstdlib>
#include <functional>
#include <optional>
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

MIXERCONTROLA ControlOf(HMIXER hMixer, DWORD dwLineID, DWORD dwControlType)
{
    MIXERCONTROLA control{};
    MIXERLINECONTROLSA mxlc{};
    mxlc.cbStruct = sizeof mxlc;
    mxlc.dwLineID = dwLineID;
    mxlc.dwControlType = dwControlType;
    mxlc.cControls = 1;
    mxlc.cbmxctrl = sizeof control;
    mxlc.pamxctrl = &control;
    EXPECT_EQ(mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(hMixer), &mxlc,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MMSYSERR_NOERROR);
    return control;
}

// A details record for cChannels values of a control without items, at pValues.
MIXERCONTROLDETAILS DetailsOf(DWORD dwControlID, DWORD cChannels, DWORD* pValues)
{
    MIXERCONTROLDETAILS mxcd{};
    mxcd.cbStruct = sizeof mxcd;
    mxcd.dwControlID = dwControlID;
    mxcd.cChannels = cChannels;
    mxcd.cbDetails = sizeof(DWORD);
    mxcd.paDetails = pValues;
    return mxcd;
}

MMRESULT Transfer(HMIXER hMixer, bool bWrite, MIXERCONTROLDETAILS mxcd, DWORD fdwQuery = 0)
{
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    const DWORD fdw = MIXER_OBJECTF_HMIXER | fdwQuery;
    return bWrite ? mixerSetControlDetails(hObject, &mxcd, fdw)
                  : mixerGetControlDetailsA(hObject, &mxcd, fdw);
}

MMRESULT WriteOneValue(HMIXER hMixer, DWORD dwControlID, DWORD dwValue)
{
    return Transfer(hMixer, true, DetailsOf(dwControlID, 1, &dwValue));
}

DWORD ReadFirstValue(HMIXER hMixer, DWORD dwControlID)
{
    DWORD dwValue = 0xDEAD;
    EXPECT_EQ(Transfer(hMixer, false, DetailsOf(dwControlID, 1, &dwValue)), MMSYSERR_NOERROR);
    return dwValue;
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
    EXPECT_EQ(mixerClose(hMixer), mmrExpected);
    // Without an object flag the value may still be a device index; a closed handle is not one.
    EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(hMixer), &uMxId, MIXER_OBJECTF_MIXER),
              backend.bClosedHandleInvalid ? MMSYSERR_BADDEVICEID : MMSYSERR_NOERROR);
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

// The wide functions answer the same records as the narrow ones, with the names in Unicode (the
// scripted cards' and Wine's names are plain ASCII, which both forms hold alike).
void CheckWideRecordsAgree(const ContractBackend&, const CNotifyWindow& window)
{
    const auto sameName = [](const char* pszNarrow, const wchar_t* pszWide) {
        return std::wstring(pszWide) == std::wstring(pszNarrow, pszNarrow + std::strlen(pszNarrow));
    };
    MIXERCAPSA caps{};
    MIXERCAPSW capsW{};
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    ASSERT_EQ(mixerGetDevCapsW(0, &capsW, sizeof capsW), MMSYSERR_NOERROR);
    EXPECT_TRUE(sameName(caps.szPname, capsW.szPname));
    EXPECT_EQ(capsW.cDestinations, caps.cDestinations);

    const HMIXER hMixer = OpenDevice0(window);
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    const MIXERLINEA line = SpeakersOf(hMixer);
    MIXERLINEW lineW{};
    lineW.cbStruct = sizeof lineW;
    lineW.dwLineID = line.dwLineID;
    ASSERT_EQ(mixerGetLineInfoW(hObject, &lineW, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(lineW.dwComponentType, line.dwComponentType);
    EXPECT_EQ(lineW.cConnections, line.cConnections);
    EXPECT_EQ(lineW.cControls, line.cControls);
    EXPECT_TRUE(sameName(line.szName, lineW.szName));
    EXPECT_TRUE(sameName(line.szShortName, lineW.szShortName));
    EXPECT_TRUE(sameName(line.Target.szPname, lineW.Target.szPname));
    lineW.cbStruct = sizeof(MIXERLINEA);
    EXPECT_EQ(mixerGetLineInfoW(hObject, &lineW, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MMSYSERR_INVALPARAM);

    const MIXERCONTROLA volume = ControlOf(hMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);
    MIXERCONTROLW volumeW{};
    MIXERLINECONTROLSW mxlc{};
    mxlc.cbStruct = sizeof mxlc;
    mxlc.dwLineID = line.dwLineID;
    mxlc.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    mxlc.cControls = 1;
    mxlc.cbmxctrl = sizeof volumeW;
    mxlc.pamxctrl = &volumeW;
    ASSERT_EQ(mixerGetLineControlsW(hObject, &mxlc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MMSYSERR_NOERROR);
    EXPECT_EQ(volumeW.dwControlID, volume.dwControlID);
    EXPECT_EQ(volumeW.Bounds.dwMaximum, volume.Bounds.dwMaximum);
    EXPECT_TRUE(sameName(volume.szName, volumeW.szName));
    DWORD dwWide = 0xDEAD;
    MIXERCONTROLDETAILS mxcd = DetailsOf(volume.dwControlID, 1, &dwWide);
    ASSERT_EQ(mixerGetControlDetailsW(hObject, &mxcd, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
    EXPECT_EQ(dwWide, ReadFirstValue(hMixer, volume.dwControlID));
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

void CheckVolumeRoundTrip(const ContractBackend& backend, const CNotifyWindow& window)
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
    // One value written stands for every channel; Wine's sets the first channel only.
    if (backend.bWine)
        return;
    ASSERT_EQ(WriteOneValue(mixer.m_hMixer.Get(), mixer.m_ctlVolume.dwControlID, 0x100), MMSYSERR_NOERROR);
    std::vector<DWORD> values(mixer.m_nChannels, 0);
    ASSERT_EQ(Transfer(mixer.m_hMixer.Get(), false,
                       DetailsOf(mixer.m_ctlVolume.dwControlID, mixer.m_nChannels, values.data())),
              MMSYSERR_NOERROR);
    EXPECT_EQ(values, std::vector<DWORD>(mixer.m_nChannels, 0x100));
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
            if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer.m_hMixer.Get()), &mxlc,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
                MMSYSERR_NOERROR)
                continue;
            bFound = true;
            // Its values are read and written by item, and a MUX always has one item selected.
            std::vector<DWORD> items(control.cMultipleItems, 0);
            MIXERCONTROLDETAILS mxcd = DetailsOf(control.dwControlID, 1, items.data());
            EXPECT_EQ(Transfer(mixer.m_hMixer.Get(), false, mxcd), MMSYSERR_INVALPARAM);
            mxcd.cMultipleItems = control.cMultipleItems;
            EXPECT_EQ(Transfer(mixer.m_hMixer.Get(), true, mxcd),
                      dwType == MIXERCONTROL_CONTROLTYPE_MUX ? MIXERR_INVALVALUE : MMSYSERR_NOERROR);
        }
    }
    EXPECT_EQ(bFound, backend.bHasRecordingSelection);
}

void CheckResultCodes(const ContractBackend& backend, const CNotifyWindow& window)
{
    const HMIXER hMixer = OpenDevice0(window);
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    const MIXERLINEA line = SpeakersOf(hMixer);
    const MIXERCONTROLA volume = ControlOf(hMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);
    const MIXERCONTROLA mute = ControlOf(hMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE);
    const UINT nCount = mixerGetNumDevs();

    const auto open = [&](DWORD_PTR dwCallback, DWORD fdwOpen, UINT nDevice = 0) {
        HMIXER h = nullptr;
        const MMRESULT mmr = mixerOpen(&h, nDevice, dwCallback, 0, fdwOpen);
        if (mmr == MMSYSERR_NOERROR)
            mixerClose(h);
        return mmr;
    };
    const auto lineInfo = [&](DWORD fdwInfo, const std::function<void(MIXERLINEA&)>& fill) {
        MIXERLINEA mxl{};
        mxl.cbStruct = sizeof mxl;
        fill(mxl);
        return mixerGetLineInfoA(hObject, &mxl, MIXER_OBJECTF_HMIXER | fdwInfo);
    };
    const auto controls = [&](DWORD fdwControls, const std::function<void(MIXERLINECONTROLSA&)>& fill) {
        std::vector<MIXERCONTROLA> found(line.cControls + 1);
        MIXERLINECONTROLSA mxlc{};
        mxlc.cbStruct = sizeof mxlc;
        mxlc.dwLineID = line.dwLineID;
        mxlc.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        mxlc.cControls = 1;
        mxlc.cbmxctrl = sizeof(MIXERCONTROLA);
        mxlc.pamxctrl = found.data();
        fill(mxlc);
        return mixerGetLineControlsA(hObject, &mxlc, MIXER_OBJECTF_HMIXER | fdwControls);
    };
    const auto details = [&](bool bWrite, DWORD fdwDetails,
                             const std::function<void(MIXERCONTROLDETAILS&)>& fill) {
        std::vector<DWORD> values(64, 0);
        MIXERCONTROLDETAILS mxcd = DetailsOf(volume.dwControlID, 1, values.data());
        fill(mxcd);
        return Transfer(hMixer, bWrite, mxcd, fdwDetails);
    };
    const auto none = [](auto&) {};

    const struct {
        const char* pszWhat;
        std::function<MMRESULT()> call;
        MMRESULT mmrExpected;
        // What Wine's WINMM answers instead, where it differs: it refuses thread and event
        // callbacks as Windows 9x did, and checks less of a call's records.
        std::optional<MMRESULT> mmrWine;
    } cases[] = {
        {"open a device beyond the count",
         [&] { return open(0, CALLBACK_NULL, nCount); },
         MMSYSERR_BADDEVICEID,
         {}},
        {"open with a callback function", [&] { return open(0, CALLBACK_FUNCTION); }, MMSYSERR_INVALFLAG, {}},
        {"open with a callback that is no window",
         [&] { return open(0x1234, CALLBACK_WINDOW); },
         MMSYSERR_INVALPARAM,
         {}},
        {"open with a thread callback", [&] { return open(GetCurrentThreadId(), CALLBACK_THREAD); },
         MMSYSERR_NOERROR, MMSYSERR_NOTSUPPORTED},
        {"open with an event callback and no event", [&] { return open(0, CALLBACK_EVENT); },
         MMSYSERR_NOERROR, MMSYSERR_NOTSUPPORTED},
        {"caps of a device beyond the count",
         [&] {
             MIXERCAPSA caps{};
             return mixerGetDevCapsA(nCount, &caps, sizeof caps);
         },
         MMSYSERR_BADDEVICEID,
         {}},
        {"id of a null handle",
         [] {
             UINT u = 0;
             return mixerGetID(nullptr, &u, MIXER_OBJECTF_HMIXER);
         },
         MMSYSERR_INVALHANDLE,
         {}},
        {"id of a wave-out device",
         [&] {
             UINT u = 0;
             return mixerGetID(nullptr, &u, MIXER_OBJECTF_WAVEOUT);
         },
         MMSYSERR_INVALFLAG, MMSYSERR_NOERROR},
        {"a line of an unknown id",
         [&] {
             return lineInfo(MIXER_GETLINEINFOF_LINEID,
                             [&](auto& l) { l.dwLineID = line.dwLineID ^ 0x5A5A; });
         },
         MIXERR_INVALLINE,
         {}},
        {"a destination beyond the count",
         [&] { return lineInfo(MIXER_GETLINEINFOF_DESTINATION, [](auto& l) { l.dwDestination = 9; }); },
         MIXERR_INVALLINE,
         {}},
        {"a source beyond the destination's",
         [&] {
             return lineInfo(MIXER_GETLINEINFOF_SOURCE, [&](auto& l) {
                 l.dwDestination = line.dwDestination;
                 l.dwSource = line.cConnections;
             });
         },
         MIXERR_INVALLINE,
         {}},
        {"a line of a missing type",
         [&] {
             return lineInfo(MIXER_GETLINEINFOF_COMPONENTTYPE,
                             [](auto& l) { l.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE; });
         },
         MIXERR_INVALLINE,
         {}},
        {"line query 7", [&] { return lineInfo(7, none); }, MMSYSERR_INVALFLAG, {}},
        {"a target type query", [&] { return lineInfo(MIXER_GETLINEINFOF_TARGETTYPE, none); },
         MMSYSERR_NOTSUPPORTED, MIXERR_INVALLINE},
        {"a line record of the wrong size",
         [&] { return lineInfo(MIXER_GETLINEINFOF_DESTINATION, [](auto& l) { l.cbStruct = 100; }); },
         MMSYSERR_INVALPARAM,
         {}},
        {"controls of an unknown line",
         [&] {
             return controls(MIXER_GETLINECONTROLSF_ONEBYTYPE,
                             [&](auto& c) { c.dwLineID = line.dwLineID ^ 0x5A5A; });
         },
         MIXERR_INVALLINE,
         {}},
        {"a control type the line lacks",
         [&] {
             return controls(MIXER_GETLINECONTROLSF_ONEBYTYPE,
                             [](auto& c) { c.dwControlType = MIXERCONTROL_CONTROLTYPE_MUX; });
         },
         MIXERR_INVALCONTROL, MMSYSERR_NOTSUPPORTED},
        {"a control id that is not there",
         [&] {
             return controls(MIXER_GETLINECONTROLSF_ONEBYID,
                             [&](auto& c) { c.dwControlID = volume.dwControlID ^ 0x5A5A5A; });
         },
         MIXERR_INVALCONTROL, MMSYSERR_NOTSUPPORTED},
        {"controls with a short cbStruct",
         [&] { return controls(MIXER_GETLINECONTROLSF_ONEBYTYPE, [](auto& c) { c.cbStruct = 20; }); },
         MMSYSERR_INVALPARAM,
         {}},
        {"controls with a short cbmxctrl",
         [&] { return controls(MIXER_GETLINECONTROLSF_ONEBYTYPE, [](auto& c) { c.cbmxctrl = 100; }); },
         MMSYSERR_INVALPARAM,
         {}},
        {"all controls with the wrong count",
         [&] {
             return controls(MIXER_GETLINECONTROLSF_ALL, [&](auto& c) { c.cControls = line.cControls + 1; });
         },
         MMSYSERR_INVALPARAM,
         {}},
        {"controls query 5", [&] { return controls(5, none); }, MMSYSERR_INVALFLAG, {}},
        {"read an unknown control",
         [&] { return details(false, 0, [&](auto& d) { d.dwControlID = volume.dwControlID ^ 0x5A5A5A; }); },
         MIXERR_INVALCONTROL,
         {}},
        {"read with a short cbStruct",
         [&] { return details(false, 0, [](auto& d) { d.cbStruct = 20; }); },
         MMSYSERR_INVALPARAM,
         {}},
        {"read with 8-byte details", [&] { return details(false, 0, [](auto& d) { d.cbDetails = 8; }); },
         MMSYSERR_INVALPARAM, MMSYSERR_NOERROR},
        {"read more channels than the line's",
         [&] { return details(false, 0, [&](auto& d) { d.cChannels = line.cChannels + 1; }); },
         MMSYSERR_INVALPARAM, MMSYSERR_NOERROR},
        {"read items of a volume", [&] { return details(false, 0, [](auto& d) { d.cMultipleItems = 2; }); },
         MMSYSERR_INVALPARAM, MMSYSERR_NOERROR},
        {"read without room",
         [&] { return details(false, 0, [](auto& d) { d.paDetails = nullptr; }); },
         MMSYSERR_INVALPARAM,
         {}},
        {"a list text query", [&] { return details(false, MIXER_GETCONTROLDETAILSF_LISTTEXT, none); },
         MMSYSERR_NOTSUPPORTED, MMSYSERR_NOERROR},
        {"write with details flag 5", [&] { return details(true, 5, none); }, MMSYSERR_INVALFLAG,
         MMSYSERR_NOERROR},
        {"write a volume above the maximum",
         [&] {
             return details(true, 0, [&](auto& d) {
                 static_cast<DWORD*>(d.paDetails)[0] = volume.Bounds.dwMaximum + 1;
             });
         },
         MIXERR_INVALVALUE, MMSYSERR_INVALPARAM},
        {"write a mute above 1",
         [&] {
             return details(true, 0, [&](auto& d) {
                 d.dwControlID = mute.dwControlID;
                 static_cast<DWORD*>(d.paDetails)[0] = 2;
             });
         },
         MIXERR_INVALVALUE, MMSYSERR_NOERROR},
    };
    const DWORD dwVolumeBefore = ReadFirstValue(hMixer, volume.dwControlID);
    for (const auto& c : cases) {
        const MMRESULT mmrExpected = backend.bWine && c.mmrWine ? *c.mmrWine : c.mmrExpected;
        EXPECT_EQ(c.call(), mmrExpected) << c.pszWhat;
    }
    // None of the refused writes reached the card or was announced; Wine takes some of them.
    if (!backend.bWine) {
        EXPECT_EQ(ReadFirstValue(hMixer, volume.dwControlID), dwVolumeBefore);
        EXPECT_TRUE(window.TakeNotifications().empty());
    }
    mixerClose(hMixer);
}

// The thread that opened a handle with CALLBACK_THREAD hears of its own writes and of changes
// made elsewhere by the same messages a window would.
void CheckThreadCallback(const ContractBackend& backend, const CNotifyWindow&)
{
    if (!backend.bThreadAndEventCallbacks)
        GTEST_SKIP() << "refuses thread callbacks (ResultCodes checks the answer)";
    HMIXER hMixer = nullptr;
    ASSERT_EQ(mixerOpen(&hMixer, 0, GetCurrentThreadId(), 0, CALLBACK_THREAD), MMSYSERR_NOERROR);
    const MIXERCONTROLA volume =
        ControlOf(hMixer, SpeakersOf(hMixer).dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);
    const auto takeThreadMessages = [] {
        std::vector<MSG> messages;
        MSG msg;
        // A window of -1 takes the thread's own messages, those posted to no window.
        while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), MM_MIXM_CONTROL_CHANGE, MM_MIXM_CONTROL_CHANGE,
                            PM_REMOVE))
            messages.push_back(msg);
        return messages;
    };
    EXPECT_TRUE(takeThreadMessages().empty()) << "open";

    ASSERT_EQ(WriteOneValue(hMixer, volume.dwControlID, volume.Bounds.dwMaximum / 2), MMSYSERR_NOERROR);
    backend.pfnChangeElsewhere();
    const auto messages = takeThreadMessages();
    ASSERT_EQ(messages.size(), 2u);
    for (const MSG& msg : messages) {
        EXPECT_EQ(msg.hwnd, nullptr);
        EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(hMixer));
        EXPECT_EQ(msg.lParam, static_cast<LPARAM>(volume.dwControlID));
    }
    EXPECT_EQ(mixerClose(hMixer), MMSYSERR_NOERROR);
    backend.pfnChangeElsewhere();
    EXPECT_TRUE(takeThreadMessages().empty()) << "after close";
}

// An event given with CALLBACK_EVENT is set by every change, the program's own and those made
// elsewhere, and by nothing else: not by the open, not by the close.
void CheckEventCallback(const ContractBackend& backend, const CNotifyWindow&)
{
    if (!backend.bThreadAndEventCallbacks)
        GTEST_SKIP() << "refuses event callbacks (ResultCodes checks the answer)";
    const CScopedKernelHandle event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    const auto isSet = [&] { return WaitForSingleObject(event.Get(), 0) == WAIT_OBJECT_0; };
    HMIXER hMixer = nullptr;
    ASSERT_EQ(mixerOpen(&hMixer, 0, reinterpret_cast<DWORD_PTR>(event.Get()), 0, CALLBACK_EVENT),
              MMSYSERR_NOERROR);
    EXPECT_FALSE(isSet()) << "open";
    const MIXERCONTROLA volume =
        ControlOf(hMixer, SpeakersOf(hMixer).dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);

    ASSERT_EQ(WriteOneValue(hMixer, volume.dwControlID, volume.Bounds.dwMaximum / 3), MMSYSERR_NOERROR);
    EXPECT_TRUE(isSet()) << "own write";
    EXPECT_FALSE(isSet()) << "set once";
    backend.pfnChangeElsewhere();
    EXPECT_TRUE(isSet()) << "change made elsewhere";
    EXPECT_EQ(mixerClose(hMixer), MMSYSERR_NOERROR);
    EXPECT_FALSE(isSet()) << "close";
    backend.pfnChangeElsewhere();
    EXPECT_FALSE(isSet()) << "after close";
}

// The line messages (MM_MIXM_LINE_CHANGE) waiting for a window, their line ids, taken off its queue.
std::vector<DWORD> TakeLineChanges(const CNotifyWindow& window)
{
    RunHandedOver();
    std::vector<DWORD> lineIds;
    MSG msg;
    while (PeekMessageA(&msg, window.Get(), MM_MIXM_LINE_CHANGE, MM_MIXM_LINE_CHANGE, PM_REMOVE))
        lineIds.push_back(static_cast<DWORD>(msg.lParam));
    return lineIds;
}

// A program that plays has a source line of the speakers, marked as a program's, with a volume
// and a mute; it is announced as it comes and goes, and keeps its id once it has gone, answering
// as disconnected. Elsewhere no source is a program's.
void CheckProgramLines(const ContractBackend& backend, const CNotifyWindow& window)
{
    const HMIXER hMixer = OpenDevice0(window);
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    const auto source = [&](DWORD dwSource) {
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwSource = dwSource;
        EXPECT_EQ(mixerGetLineInfoA(hObject, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE),
                  MMSYSERR_NOERROR);
        return line;
    };
    const DWORD cBefore = SpeakersOf(hMixer).cConnections;
    if (backend.pfnPlayProgram == nullptr) {
        for (DWORD s = 0; s < cBefore; ++s)
            EXPECT_NE(source(s).dwUser, kApplicationLine);
        mixerClose(hMixer);
        return;
    }

    backend.pfnPlayProgram();
    RunHandedOver();
    ASSERT_EQ(SpeakersOf(hMixer).cConnections, cBefore + 1);
    const MIXERLINEA program = source(cBefore);
    EXPECT_EQ(TakeLineChanges(window), std::vector<DWORD>{program.dwLineID});
    EXPECT_EQ(program.dwUser, kApplicationLine);
    EXPECT_EQ(program.fdwLine, static_cast<DWORD>(MIXERLINE_LINEF_SOURCE | MIXERLINE_LINEF_ACTIVE));
    EXPECT_STREQ(program.szName, "Music");
    const MIXERCONTROLA volume = ControlOf(hMixer, program.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME);
    const MIXERCONTROLA mute = ControlOf(hMixer, program.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE);
    // The program plays at three quarters.
    EXPECT_EQ(ReadFirstValue(hMixer, volume.dwControlID), 0xBFFFu);
    ASSERT_EQ(WriteOneValue(hMixer, mute.dwControlID, 1), MMSYSERR_NOERROR);
    EXPECT_EQ(ReadFirstValue(hMixer, mute.dwControlID), 1u);
    EXPECT_EQ(window.TakeNotifications().size(), 1u);

    backend.pfnEndProgram();
    EXPECT_EQ(TakeLineChanges(window), std::vector<DWORD>{program.dwLineID});
    MIXERLINEA gone{};
    gone.cbStruct = sizeof gone;
    gone.dwLineID = program.dwLineID;
    ASSERT_EQ(mixerGetLineInfoA(hObject, &gone, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(gone.fdwLine, static_cast<DWORD>(MIXERLINE_LINEF_SOURCE | MIXERLINE_LINEF_DISCONNECTED));
    EXPECT_EQ(SpeakersOf(hMixer).cConnections, cBefore + 1);
    DWORD dwValue = 0;
    EXPECT_EQ(Transfer(hMixer, false, DetailsOf(volume.dwControlID, 1, &dwValue)), MMSYSERR_ERROR);
    mixerClose(hMixer);
}

const ContractCheck kChecks[] = {
    {"OpenAndClose", &CheckOpenAndClose, ""},
    {"BadDeviceId", &CheckBadDeviceId, ""},
    {"InvalidHandle", &CheckInvalidHandle, "Wine keeps a closed handle usable"},
    {"LineLookupsAgree", &CheckLineLookupsAgree, ""},
    {"ControlLookupsAgree", &CheckControlLookupsAgree, ""},
    {"WideRecordsAgree", &CheckWideRecordsAgree, ""},
    {"VolumeRoundTrip", &CheckVolumeRoundTrip,
     "Wine's and the endpoint mixer's volume is one value; Wine writes one channel for one value"},
    {"MuteRoundTrip", &CheckMuteRoundTrip, ""},
    {"Notifications", &CheckNotifications, "Wine sends no change notifications"},
    {"RecordingSelection", &CheckRecordingSelection,
     "Wine and the endpoint mixer have no MIXER or MUX controls"},
    {"ResultCodes", &CheckResultCodes, "Wine refuses thread and event callbacks and checks fewer records"},
    {"ThreadCallback", &CheckThreadCallback, "Wine refuses thread callbacks"},
    {"EventCallback", &CheckEventCallback, "Wine refuses event callbacks"},
    {"ProgramLines", &CheckProgramLines, "only the endpoint mixer gives programs lines of their own"},
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
