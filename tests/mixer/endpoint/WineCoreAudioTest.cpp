// The endpoint mixer against Wine's own Core Audio (scripts/test runs a PulseAudio server with a
// null sink and a null source). What Wine 8 does, recorded here: it lists the endpoints with
// their names and reads volume (always 1.0) and mute, but answers E_NOTIMPL to
// SetMasterVolumeLevelScalar, GetChannelCount and GetVolumeStepInfo. So the program recognises it
// by the reads and chooses WINMM there, and the endpoint mixer shows one channel and its default
// step count.
#include "mixer/MixerDevice.h"
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/EndpointCards.h"
#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/endpoint/EndpointDevices.h"
#include "mixer/choice/MixerChoice.h"
#include "mixer/frontend/MixerFrontEnd.h"

#include <functiondiscoverykeys_devpkey.h>

#include <cmath>

namespace {

struct SDirectEndpoint {
    std::wstring strName;
    CComPtr<IAudioEndpointVolume> pVolume;
};

// The default endpoint of a flow, read past the mixer.
bool DefaultEndpoint(IMMDeviceEnumerator* pEnumerator, EDataFlow flow, SDirectEndpoint& endpoint)
{
    CComPtr<IMMDevice> pDevice;
    CComPtr<IPropertyStore> pStore;
    if (FAILED(pEnumerator->GetDefaultAudioEndpoint(flow, eConsole, pDevice.Put())) ||
        FAILED(pDevice->OpenPropertyStore(STGM_READ, pStore.Put())) ||
        FAILED(pDevice->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                 endpoint.pVolume.PutVoid())))
        return false;
    PROPVARIANT value;
    ::PropVariantInit(&value);
    if (SUCCEEDED(pStore->GetValue(PKEY_Device_FriendlyName, &value)) && value.vt == VT_LPWSTR)
        endpoint.strName = value.pwszVal;
    ::PropVariantClear(&value);
    return true;
}

UINT ActiveCount(IMMDeviceEnumerator* pEnumerator, EDataFlow flow)
{
    CComPtr<IMMDeviceCollection> pCollection;
    UINT nCount = 0;
    if (SUCCEEDED(pEnumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, pCollection.Put())))
        pCollection->GetCount(&nCount);
    return nCount;
}

class WineCoreAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(CreateSystemEnumerator(m_pEnumerator));
        if (!DefaultEndpoint(m_pEnumerator.Get(), eRender, m_render))
            GTEST_SKIP() << "Wine shows no render endpoint: run a PulseAudio server with a null sink "
                            "(scripts/test starts one)";
    }

    const CComApartment m_apartment;
    CComPtr<IMMDeviceEnumerator> m_pEnumerator;
    SDirectEndpoint m_render;
};

TEST_F(WineCoreAudioTest, TheChoiceFallsBackToWinmmWithTheReason)
{
    for (const char* pszRequested : {static_cast<const char*>(nullptr), "endpoint"}) {
        CComPtr<IMMDeviceEnumerator> pEnumerator;
        const SMixerChoice choice = ChooseMixer(pszRequested, &CreateSystemEnumerator, pEnumerator);
        EXPECT_EQ(choice.kind, MixerKind::Winmm);
        EXPECT_EQ(choice.strReason, std::string(pszRequested ? "SONOBAR_MIXER=endpoint, but " : "") +
                                        "GetVolumeStepInfo answered 0x80004001");
    }
    // The program's own mixer functions then answer with Wine's WINMM.
    EXPECT_GT(mixerGetNumDevs(), 0u);
    EXPECT_EQ(ProcessMixerChoice().kind, MixerKind::Winmm);
    std::string strName;
    EXPECT_EQ(CMixerDevice::GetDeviceName(0, strName), MMSYSERR_NOERROR);
    EXPECT_FALSE(strName.empty());
}

TEST_F(WineCoreAudioTest, CardsNamesAndValuesComeFromWinesEndpoints)
{
    CMixerFrontEnd mixer(std::make_unique<CEndpointMixer>(m_pEnumerator));
    // The outputs come first; a recording endpoint that shares no device with one of them (Wine
    // gives its endpoints no container) follows as a card of its own with a recording side only.
    const UINT nOutputs = ActiveCount(m_pEnumerator.Get(), eRender);
    ASSERT_GE(mixer.GetNumDevs(), nOutputs);
    for (UINT nCard = nOutputs; nCard < mixer.GetNumDevs(); ++nCard) {
        MIXERCAPSA capsAlone{};
        ASSERT_EQ(mixer.GetDevCaps(nCard, &capsAlone, sizeof capsAlone), MMSYSERR_NOERROR);
        EXPECT_EQ(capsAlone.cDestinations, 1u) << nCard;
    }
    MIXERCAPSA caps{};
    ASSERT_EQ(mixer.GetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(caps.szPname, CardName(m_render.strName));
    SDirectEndpoint capture;
    const bool bCapture = DefaultEndpoint(m_pEnumerator.Get(), eCapture, capture);
    EXPECT_EQ(caps.cDestinations, bCapture ? 2u : 1u);

    const CNotifyWindow window;
    HMIXER hMixer = nullptr;
    ASSERT_EQ(mixer.Open(&hMixer, 0, reinterpret_cast<DWORD_PTR>(window.Get()), 0, CALLBACK_WINDOW),
              MMSYSERR_NOERROR);
    const auto hObject = reinterpret_cast<HMIXEROBJ>(hMixer);
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        SCOPED_TRACE(d);
        IAudioEndpointVolume* pVolume = d == 0 ? m_render.pVolume.Get() : capture.pVolume.Get();
        MIXERLINEA line{};
        line.cbStruct = sizeof line;
        line.dwDestination = d;
        ASSERT_EQ(mixer.GetLineInfo(hObject, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(line.cChannels, 1u);
        MIXERCONTROLA control{};
        MIXERLINECONTROLSA mxlc{};
        mxlc.cbStruct = sizeof mxlc;
        mxlc.dwLineID = line.dwLineID;
        mxlc.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        mxlc.cControls = 1;
        mxlc.cbmxctrl = sizeof control;
        mxlc.pamxctrl = &control;
        ASSERT_EQ(
            mixer.GetLineControls(hObject, &mxlc, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE),
            MMSYSERR_NOERROR);
        EXPECT_EQ(control.Metrics.cSteps, kDefaultVolumeSteps);

        float fLevel = -1.0f;
        BOOL bMuted = 2;
        ASSERT_HRESULT_SUCCEEDED(pVolume->GetMasterVolumeLevelScalar(&fLevel));
        ASSERT_HRESULT_SUCCEEDED(pVolume->GetMute(&bMuted));
        for (const auto& [dwControlID, dwExpected] :
             {std::pair{control.dwControlID, static_cast<DWORD>(std::lround(fLevel * 0xFFFF))},
              std::pair{control.dwControlID + 1, static_cast<DWORD>(bMuted ? 1 : 0)}}) {
            DWORD dwValue = 0xDEAD;
            MIXERCONTROLDETAILS mxcd{};
            mxcd.cbStruct = sizeof mxcd;
            mxcd.dwControlID = dwControlID;
            mxcd.cChannels = 1;
            mxcd.cbDetails = sizeof dwValue;
            mxcd.paDetails = &dwValue;
            ASSERT_EQ(mixer.GetControlDetails(hObject, &mxcd, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
            EXPECT_EQ(dwValue, dwExpected);
            // Wine refuses the volume write: an error, and no notification.
            if (dwControlID == control.dwControlID) {
                EXPECT_EQ(mixer.SetControlDetails(hObject, &mxcd, MIXER_OBJECTF_HMIXER), MMSYSERR_ERROR);
            }
        }
    }
    EXPECT_TRUE(window.TakeNotifications().empty());
    EXPECT_EQ(mixer.Close(hMixer), MMSYSERR_NOERROR);
}

} // namespace
