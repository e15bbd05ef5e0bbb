// Fake Core Audio for the endpoint mixer's tests: an enumerator with scripted endpoints (flow,
// name, adapter, container id, volume per channel, mute, step count, failures), the devices,
// collections and property stores it hands out, and endpoint volumes, all behaving as Windows
// does where the mixer depends on it:
// - notifications are delivered on a thread of their own, after the call that caused them has
//   returned, in order;
// - a write that changes nothing notifies nobody (SetMute to the state it has answers S_FALSE);
// - a volume notification carries one volume per channel of the endpoint;
// - defaults are kept and reported per role (console, multimedia, communications);
// - endpoints may be added in any state, and OnDeviceAdded is sent for each;
// - an endpoint that goes, or a stopped audio service, leaves the interfaces handed out before
//   answering AUDCLNT_E_DEVICE_INVALIDATED or AUDCLNT_E_SERVICE_NOT_RUNNING;
// - RegisterEndpointNotificationCallback keeps no reference to the client (the volume's
//   RegisterControlChangeNotify does, as documented);
// - every endpoint has its audio sessions (FakeAudioSessions.h).
// "Another program" acts with the *Elsewhere members and the device changes (SetDefault,
// AddLater, SetState, Remove); they return once every callback has been called, so that a test
// can look at what they caused. WaitUntilDelivered waits for the notifications of the mixer's own
// writes.
//
// Usage: CFakeCoreAudio audio; audio.Add({L"spk", eRender, L"Speakers", L"Realtek"});
// audio.SetDefault(eRender, L"spk"); CEndpointMixer mixer(audio.Enumerator());
#pragma once

#include "fw/ComPtr.h"
#include "mixer/choice/MixerChoice.h"
#include "mixer/endpoint/FakeAudioSessions.h"

#include <windows.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SFakeEndpointSetup {
    std::wstring strId;
    EDataFlow flow = eRender;
    std::wstring strName;
    std::wstring strAdapter;
    float fLevel = 0.5f;
    BOOL bMuted = FALSE;
    UINT cChannels = 2;
    // Positions, as GetVolumeStepInfo counts them: 0 to cSteps - 1.
    UINT cSteps = 101;
    // What the writes answer; Wine 8's is E_NOTIMPL.
    HRESULT hrWrite = S_OK;
    HRESULT hrChannelCount = S_OK;
    HRESULT hrStepInfo = S_OK;
    HRESULT hrActivate = S_OK;
    // PKEY_Device_ContainerId; GUID_NULL: the endpoint has none.
    GUID containerId = GUID_NULL;
};

// Runs deliveries on a thread of its own, one after the other.
class CFakeNotifier {
public:
    CFakeNotifier();
    ~CFakeNotifier();
    CFakeNotifier(const CFakeNotifier&) = delete;
    CFakeNotifier& operator=(const CFakeNotifier&) = delete;

    void Post(std::function<void()> delivery);
    // Returns once everything posted so far has been delivered.
    void WaitUntilDelivered();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_queue;
    bool m_bDelivering = false;
    bool m_bStop = false;
    std::thread m_thread;
};

class CFakeEndpointVolume final : public CComObject<IAudioEndpointVolume> {
public:
    CFakeEndpointVolume(const SFakeEndpointSetup& setup, std::shared_ptr<CFakeNotifier> pNotifier);

    // A change by another program: the callbacks hear it with a context of their own.
    void SetLevelElsewhere(float fLevel);
    void SetMuteElsewhere(BOOL bMuted);
    // From now on every call answers hr (AUDCLNT_E_DEVICE_INVALIDATED, ...).
    void Fail(HRESULT hr);
    // The channels of a new format; channels that come new start at the master level.
    void SetChannelCount(UINT cChannels);
    float Level() const;
    float ChannelLevel(UINT nChannel) const;
    BOOL Muted() const;
    // Calls of the Set* members, whatever they answered.
    size_t WriteCount() const;
    size_t RegisteredCount() const;
    // The callbacks registered now, each with a reference of its own.
    std::vector<CComPtr<IAudioEndpointVolumeCallback>> Callbacks() const;

    HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
    HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) override;
    HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) override;
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT fLevel, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* pfLevel) override;
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT nChannel, FLOAT fLevel,
                                                          LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, FLOAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT nChannel, FLOAT* pfLevel) override;
    HRESULT STDMETHODCALLTYPE SetMute(WINBOOL bMute, LPCGUID pguidEventContext) override;
    HRESULT STDMETHODCALLTYPE GetMute(WINBOOL* pbMute) override;
    HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) override;
    HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT*, FLOAT*, FLOAT*) override { return E_NOTIMPL; }

private:
    // What a write answers before it changes anything: the endpoint's failure, or the set-up's.
    HRESULT Refusal() const;
    // The state after a change, handed to every callback registered at the time of delivery.
    void Changed(LPCGUID pguidContext);
    float MasterLocked() const;

    const SFakeEndpointSetup m_setup;
    const std::shared_ptr<CFakeNotifier> m_pNotifier;
    mutable std::mutex m_mutex;
    HRESULT m_hrFailure = S_OK;
    size_t m_cWrites = 0;
    std::vector<float> m_levels;
    BOOL m_bMuted;
    std::vector<CComPtr<IAudioEndpointVolumeCallback>> m_callbacks;
};

class CFakeEnumerator final : public CComObject<IMMDeviceEnumerator> {
public:
    explicit CFakeEnumerator(std::shared_ptr<CFakeNotifier> pNotifier);

    // An active endpoint that was there before anyone asked: no notification.
    CFakeEndpointVolume& Add(const SFakeEndpointSetup& setup);
    // An endpoint that appears now, in the given state: OnDeviceAdded.
    void AddLater(const SFakeEndpointSetup& setup, DWORD dwState);
    // Makes an endpoint the default of its flow for one role, or for all three (an empty id: no
    // default), and tells the clients once per role that changed.
    void SetDefault(EDataFlow flow, ERole role, const std::wstring& strId);
    void SetDefault(EDataFlow flow, const std::wstring& strId);
    // Changes an endpoint's state and tells the clients; an endpoint that stops being active
    // leaves its volume answering AUDCLNT_E_DEVICE_INVALIDATED.
    void SetState(const std::wstring& strId, DWORD dwState);
    void Remove(const std::wstring& strId);
    // The user picks another speaker configuration: the endpoint's format, and with it the
    // channel count of its volume, changes, and the clients hear OnPropertyValueChanged with
    // PKEY_AudioEngine_DeviceFormat. Nothing is reported when the count stays.
    void SetChannelCount(const std::wstring& strId, UINT cChannels);
    // Windows reports changes of many properties; this one tells of key and changes nothing.
    void ChangeProperty(const std::wstring& strId, const PROPERTYKEY& key);
    // The audio service stops: every volume handed out answers AUDCLNT_E_SERVICE_NOT_RUNNING,
    // and no client is told. Once it runs again, endpoints hand out new volumes.
    void StopService();
    void StartService();
    CFakeEndpointVolume& Volume(const std::wstring& strId);
    CFakeSessionManager& Sessions(const std::wstring& strId);
    size_t ClientCount() const;
    // The devices handed out and not yet released by everyone.
    size_t LiveDevices() const { return *m_pLiveDevices; }

    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                 IMMDeviceCollection** ppDevices) override;
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role,
                                                      IMMDevice** ppEndpoint) override;
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) override;
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) override;

private:
    struct SEndpoint {
        SFakeEndpointSetup setup;
        DWORD dwState = DEVICE_STATE_ACTIVE;
        CComPtr<CFakeEndpointVolume> pVolume;
        CComPtr<CFakeSessionManager> pSessions;
    };
    SEndpoint* Find(const std::wstring& strId);
    CComPtr<IMMDevice> MakeDevice(const SEndpoint& endpoint) const;
    // Calls every client registered at the time of delivery, and waits until it is done.
    void Tell(std::function<void(IMMNotificationClient&)> notification);

    const std::shared_ptr<CFakeNotifier> m_pNotifier;
    const std::shared_ptr<std::atomic<size_t>> m_pLiveDevices = std::make_shared<std::atomic<size_t>>(0);
    mutable std::mutex m_mutex;
    std::vector<SEndpoint> m_endpoints;
    std::wstring m_strDefault[2][ERole_enum_count];
    bool m_bServiceStopped = false;
    std::vector<IMMNotificationClient*> m_clients;
};

// A fake Core Audio for one test: the notifier, the enumerator, and the factory that hands it out.
class CFakeCoreAudio {
public:
    CFakeCoreAudio();
    ~CFakeCoreAudio();
    CFakeCoreAudio(const CFakeCoreAudio&) = delete;
    CFakeCoreAudio& operator=(const CFakeCoreAudio&) = delete;
    // A fresh fake in place of this one, once everything of this one has been delivered.
    CFakeCoreAudio& operator=(CFakeCoreAudio&& other) noexcept;
    CFakeEndpointVolume& Add(const SFakeEndpointSetup& setup) { return m_pEnumerator->Add(setup); }
    void SetDefault(EDataFlow flow, const std::wstring& strId) { m_pEnumerator->SetDefault(flow, strId); }
    CFakeEndpointVolume& Volume(const std::wstring& strId) { return m_pEnumerator->Volume(strId); }
    CFakeSessionManager& Sessions(const std::wstring& strId) { return m_pEnumerator->Sessions(strId); }
    CFakeEnumerator& Fake() { return *m_pEnumerator.Get(); }
    void WaitUntilDelivered() { m_pNotifier->WaitUntilDelivered(); }
    CComPtr<IMMDeviceEnumerator> Enumerator() const;
    EnumeratorFactory Factory() const;

private:
    std::shared_ptr<CFakeNotifier> m_pNotifier;
    CComPtr<CFakeEnumerator> m_pEnumerator;
};

// The process's Core Audio for the programs that test the mixer functions as the bar calls them:
// a laptop's speakers (L"spk", 51 positions) and mono microphone (L"mic") on one adapter, both
// the defaults, an HDMI output (L"hdmi") on another, and a webcam's microphone (L"cam") that no
// output shares a device with; a player (L"player/1") and a browser (L"web/1") play on the
// speakers. Installed as the process's enumerator
// at the first call, which comes before the process's first mixer call.
CFakeCoreAudio& ProcessLaptop();
