// The choice between the endpoint mixer and WINMM: what Core Audio offers, what SONOBAR_MIXER
// asks for, that choosing writes nothing, that a process waiting for Core Audio settles once it
// comes and tells the bars, and that COM is left as it was found.
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/FakeCoreAudio.h"
#include "mixer/choice/MixerChoice.h"
#include "mixer/frontend/MixerCallback.h"

#include <audioclient.h>
#include <dbt.h>

#include <thread>

namespace {

enum class CoreAudio {
    Windows,
    WineStub,
    WineStubSteps,
    NotRegistered,
    NotReady,
    ServiceStopped,
    VolumeRefused,
    NoEndpoint,
    CaptureOnly
};

TEST(MixerChoiceTest, ChosenByWhatThePlatformHasWithoutAWrite)
{
    const struct {
        const char* pszRequested;
        CoreAudio coreAudio;
        MixerKind expected;
        const char* pszReason;
    } cases[] = {
        {nullptr, CoreAudio::Windows, MixerKind::Endpoint, "Core Audio's endpoint volume"},
        {nullptr, CoreAudio::WineStub, MixerKind::Winmm, "GetVolumeStepInfo answered 0x80004001"},
        {nullptr, CoreAudio::WineStubSteps, MixerKind::Winmm, "GetChannelCount answered 0x80004001"},
        {nullptr, CoreAudio::NotRegistered, MixerKind::Winmm,
         "no Core Audio: MMDeviceEnumerator answered 0x80040154"},
        // Jack detection with nothing plugged in, or a USB-only machine at logon: no card until
        // one appears, never WINMM, which moves nothing on Vista and later.
        {nullptr, CoreAudio::NoEndpoint, MixerKind::Endpoint,
         "no endpoint yet (the endpoint volume answered 0x80070490): no card until one appears"},
        {nullptr, CoreAudio::CaptureOnly, MixerKind::Endpoint, "Core Audio's endpoint volume"},
        {nullptr, CoreAudio::NotReady, MixerKind::WaitingForCoreAudio,
         "Core Audio not ready: MMDeviceEnumerator answered 0x80070426; trying again"},
        // The enumerator is there, but the audio service has not started yet: the endpoints
        // cannot be listed, or their volume cannot be had.
        {nullptr, CoreAudio::ServiceStopped, MixerKind::WaitingForCoreAudio,
         "Core Audio not ready: the endpoint volume answered 0x88890010; trying again"},
        {nullptr, CoreAudio::VolumeRefused, MixerKind::WaitingForCoreAudio,
         "Core Audio not ready: the endpoint volume answered 0x88890010; trying again"},
        {"winmm", CoreAudio::Windows, MixerKind::Winmm, "SONOBAR_MIXER=winmm"},
        {"WinMM", CoreAudio::NotRegistered, MixerKind::Winmm, "SONOBAR_MIXER=winmm"},
        {"endpoint", CoreAudio::Windows, MixerKind::Endpoint, "Core Audio's endpoint volume"},
        {"endpoint", CoreAudio::WineStub, MixerKind::Winmm,
         "SONOBAR_MIXER=endpoint, but GetVolumeStepInfo answered 0x80004001"},
        {"endpoint", CoreAudio::NotRegistered, MixerKind::Winmm,
         "SONOBAR_MIXER=endpoint, but no Core Audio: MMDeviceEnumerator answered 0x80040154"},
        {"wasapi", CoreAudio::WineStub, MixerKind::Winmm,
         "SONOBAR_MIXER=wasapi is neither winmm nor endpoint; GetVolumeStepInfo answered 0x80004001"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszRequested ? c.pszRequested : "(unset)") + ": " + c.pszReason);
        CFakeCoreAudio audio;
        SFakeEndpointSetup setup{L"r", eRender, L"Speakers", L"HDA"};
        setup.fLevel = 0.42f;
        // Wine 8 reads the volume but implements neither read, nor any write.
        if (c.coreAudio == CoreAudio::WineStub || c.coreAudio == CoreAudio::WineStubSteps) {
            setup.hrWrite = E_NOTIMPL;
            setup.hrChannelCount = E_NOTIMPL;
        }
        if (c.coreAudio == CoreAudio::WineStub)
            setup.hrStepInfo = E_NOTIMPL;
        if (c.coreAudio == CoreAudio::CaptureOnly)
            setup.flow = eCapture;
        if (c.coreAudio == CoreAudio::VolumeRefused)
            setup.hrActivate = AUDCLNT_E_SERVICE_NOT_RUNNING;
        if (c.coreAudio != CoreAudio::NoEndpoint)
            audio.Add(setup);
        audio.SetDefault(setup.flow, L"r");
        if (c.coreAudio == CoreAudio::ServiceStopped)
            audio.Fake().StopService();

        bool bAsked = false;
        const EnumeratorFactory factory = [&](CComPtr<IMMDeviceEnumerator>& pEnumerator) {
            bAsked = true;
            if (c.coreAudio == CoreAudio::NotRegistered)
                return REGDB_E_CLASSNOTREG;
            if (c.coreAudio == CoreAudio::NotReady)
                return HRESULT_FROM_WIN32(ERROR_SERVICE_NOT_ACTIVE);
            return audio.Factory()(pEnumerator);
        };
        CComPtr<IMMDeviceEnumerator> pEnumerator;
        const SMixerChoice choice = ChooseMixer(c.pszRequested, factory, pEnumerator);
        EXPECT_EQ(choice.kind, c.expected);
        EXPECT_EQ(choice.strReason, c.pszReason);
        // The endpoint mixer gets the enumerator; WINMM and a wait need none.
        EXPECT_EQ(static_cast<bool>(pEnumerator), c.expected == MixerKind::Endpoint);
        // Asking for WINMM leaves Core Audio alone; choosing writes nothing anywhere.
        EXPECT_EQ(bAsked, std::string(c.pszReason) != "SONOBAR_MIXER=winmm");
        if (c.coreAudio != CoreAudio::NoEndpoint) {
            EXPECT_EQ(audio.Volume(L"r").WriteCount(), 0u);
        }
    }
}

TEST(MixerChoiceTest, AProcessWaitingForCoreAudioSettlesOnceTheCardsCanBeReadAndRestartsTheBars)
{
    // No enumerator yet, or an enumerator whose service has not started.
    for (const bool bLateService : {false, true}) {
        SCOPED_TRACE(bLateService ? "late service" : "no enumerator");
        CFakeCoreAudio audio;
        audio.Add({L"r", eRender, L"Speakers", L"HDA"});
        audio.SetDefault(eRender, L"r");
        HRESULT hrCreate = bLateService ? S_OK : HRESULT_FROM_WIN32(ERROR_SERVICE_NOT_ACTIVE);
        if (bLateService)
            audio.Fake().StopService();
        CChosenMixer mixer(nullptr, [&](CComPtr<IMMDeviceEnumerator>& pEnumerator) {
            return SUCCEEDED(hrCreate) ? audio.Factory()(pEnumerator) : hrCreate;
        });
        ASSERT_EQ(mixer.Choice().kind, MixerKind::WaitingForCoreAudio);

        // Meanwhile the bar finds no mixer device, and its open names the window to tell.
        const CNotifyWindow bar;
        EXPECT_EQ(mixer.Backend().GetNumDevs(), 0u);
        HMIXER hMixer = nullptr;
        EXPECT_EQ(
            mixer.Backend().Open(&hMixer, 0, reinterpret_cast<DWORD_PTR>(bar.Get()), 0, CALLBACK_WINDOW),
            MMSYSERR_BADDEVICEID);
        MIXERCAPSA caps{};
        EXPECT_EQ(mixer.Backend().GetDevCaps(0, &caps, sizeof caps), MMSYSERR_BADDEVICEID);

        EXPECT_FALSE(mixer.TryAgain());
        MSG msg;
        EXPECT_FALSE(::PeekMessageA(&msg, bar.Get(), WM_DEVICECHANGE, WM_DEVICECHANGE, PM_REMOVE));

        hrCreate = S_OK;
        audio.Fake().StartService();
        EXPECT_TRUE(mixer.TryAgain());
        EXPECT_EQ(mixer.Choice().kind, MixerKind::Endpoint);
        EXPECT_EQ(mixer.Backend().GetNumDevs(), 1u);
        ASSERT_TRUE(::PeekMessageA(&msg, bar.Get(), WM_DEVICECHANGE, WM_DEVICECHANGE, PM_REMOVE));
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(DBT_DEVNODES_CHANGED));
        EXPECT_EQ(msg.lParam, kMixerCardsChanged);
        EXPECT_FALSE(::PeekMessageA(&msg, bar.Get(), WM_DEVICECHANGE, WM_DEVICECHANGE, PM_REMOVE));
        // Settled for good.
        EXPECT_TRUE(mixer.TryAgain());
    }
}

TEST(MixerChoiceTest, TheMixerLeavesTheThreadsComAsItFoundIt)
{
    CFakeCoreAudio audio;
    audio.Add({L"r", eRender, L"Speakers", L"HDA"});
    audio.SetDefault(eRender, L"r");
    // The references to the fake's enumerator besides the fake's own.
    const auto otherReferences = [&] {
        IMMDeviceEnumerator* const pEnumerator = audio.Enumerator().Detach();
        return pEnumerator->Release() - 1;
    };
    for (const char* pszRequested : {static_cast<const char*>(nullptr), "winmm"}) {
        SCOPED_TRACE(pszRequested ? pszRequested : "(unset)");
        HRESULT hrAfter = E_FAIL;
        std::thread([&] {
            {
                CChosenMixer mixer(pszRequested, audio.Factory());
                HMIXER hMixer = nullptr;
                if (mixer.Backend().Open(&hMixer, 0, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR)
                    mixer.Backend().Close(hMixer);
            }
            // Nothing of the mixer is left, the callbacks it kept included: they went with the
            // mixer, which ends before its COM apartment.
            audio.WaitUntilDelivered();
            EXPECT_EQ(otherReferences(), 0u);
            // Still in the mixer's single-threaded apartment, this would be RPC_E_CHANGED_MODE.
            hrAfter = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(hrAfter))
                ::CoUninitialize();
        }).join();
        EXPECT_EQ(hrAfter, S_OK);
    }
}

} // namespace
