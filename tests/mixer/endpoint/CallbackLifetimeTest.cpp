// The endpoint mixer's callbacks outlive their registration: Windows keeps no reference to the
// device client, and a volume notification may still be running when the call that unregisters
// its callback returns. They are let go of once what was posted before has been handled, and do
// not outlive the mixer, which ends before its COM apartment.
#include "mixer/MixerTestSupport.h"
#include "mixer/endpoint/EndpointMixer.h"
#include "mixer/endpoint/FakeCoreAudio.h"
#include "mixer/frontend/MixerFrontEnd.h"

namespace {

// The references to a COM object that others than the caller hold.
ULONG OtherReferences(IUnknown* pObject)
{
    pObject->AddRef();
    return pObject->Release() - 1;
}

TEST(CallbackLifetimeTest, CallbacksLiveOnAfterTheyAreUnregisteredForOneRoundOfMessages)
{
    CFakeCoreAudio audio;
    audio.Add({L"spk", eRender, L"Speakers", L"HDA"});
    audio.SetDefault(eRender, L"spk");
    const CNotifyWindow bar;
    std::vector<CComPtr<IAudioEndpointVolumeCallback>> callbacks;
    {
        CMixerFrontEnd mixer(std::make_unique<CEndpointMixer>(audio.Enumerator()));
        // Windows holds no reference to the device client; the mixer's keeps it working.
        ASSERT_EQ(audio.Fake().ClientCount(), 1u);
        EXPECT_EQ(mixer.GetNumDevs(), 1u);
        audio.Fake().SetState(L"spk", DEVICE_STATE_UNPLUGGED);
        RunHandedOver();
        EXPECT_EQ(mixer.GetNumDevs(), 0u);
        audio.Fake().SetState(L"spk", DEVICE_STATE_ACTIVE);
        RunHandedOver();
        ASSERT_EQ(mixer.GetNumDevs(), 1u);

        HMIXER hMixer = nullptr;
        ASSERT_EQ(mixer.Open(&hMixer, 0, reinterpret_cast<DWORD_PTR>(bar.Get()), 0, CALLBACK_WINDOW),
                  MMSYSERR_NOERROR);
        callbacks = audio.Volume(L"spk").Callbacks();
        ASSERT_EQ(callbacks.size(), 1u);
        ASSERT_EQ(mixer.Close(hMixer), MMSYSERR_NOERROR);
        EXPECT_EQ(audio.Volume(L"spk").RegisteredCount(), 0u);
        // Besides this test's own reference, the mixer still keeps the callback: a notification
        // that was under way when it was unregistered finds it alive.
        EXPECT_GE(OtherReferences(callbacks[0].Get()), 1u);
        // Once what was posted before has been handled, the mixer lets go of it while it runs on.
        RunHandedOver();
        EXPECT_EQ(OtherReferences(callbacks[0].Get()), 0u);
    }
    EXPECT_EQ(audio.Fake().ClientCount(), 0u);
    // Once the mixer has gone, nobody holds anything of it: released before COM ends.
    EXPECT_EQ(OtherReferences(callbacks[0].Get()), 0u);
    EXPECT_EQ(audio.Fake().LiveDevices(), 0u);
}

} // namespace
